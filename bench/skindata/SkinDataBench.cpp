// bench_skindata: time to load and parse the default skin (the package
// alone, and the whole component read from a form stream as the program's
// form resource gives it), the memory a loaded skin holds, and the time to
// load hostile skins whose INI holds thousands of sections. Wall-clock
// medians and best, and the thread's processor time per load (a mean).
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "framework/core/Streaming.h"
#include "framework/graphics/BmpCodec.h"
#include "framework/win/ResourceData.h"
#include "skin/data/PellixData.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinArchiveWriter.h"
#include "skin/data/SkinReader.h"

// A form-like owner for the stream round trip (at namespace scope: the
// publisher is befriended by the class).
class TBenchForm : public TComponent {
    QUIRN_CLASS(TBenchForm, TComponent)
public:
    explicit TBenchForm(TComponent* AOwner) : TComponent(AOwner) {}
    TSkinData* SkinData1 = nullptr;
};
QUIRN_PUBLISH(TBenchForm, p) { p.Field("SkinData1", &TBenchForm::SkinData1); }

namespace {

constexpr int Rounds = 200;
using TClock = std::chrono::steady_clock;

std::vector<uint8_t> DefaultPackage() { return win::RcDataBytes(L"DEFAULTSKIN"); }

void FillStream(TMemoryStream& Stream, const std::vector<uint8_t>& Bytes) {
    Stream.Clear();
    Stream.WriteBuffer(Bytes.data(), static_cast<int32_t>(Bytes.size()));
    Stream.SetPosition(0);
}

// Private bytes and working set of the process.
std::pair<size_t, size_t> ProcessMemory() {
    PROCESS_MEMORY_COUNTERS_EX Counters{};
    Counters.cb = sizeof(Counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&Counters), sizeof(Counters));
    return {Counters.PrivateUsage, Counters.WorkingSetSize};
}

double GrowthKB(size_t Before, size_t After) { return (After > Before ? After - Before : 0) / 1024.0; }

uint64_t BitmapBytes(TBitmap& Bitmap) {
    return Bitmap.Empty() ? 0 : static_cast<uint64_t>(Bitmap.RowBytes()) * static_cast<uint64_t>(Bitmap.Height());
}

uint64_t ElementBytes(const TDataSkinObject* Element) {
    if (Element == nullptr) return 0;
    uint64_t Bytes = BitmapBytes(*Element->Bitmap);
    if (const auto* Border = ObjectAs<TDataSkinBorder>(Element)) Bytes += BitmapBytes(*Border->Bitmap2);
    if (const auto* Button = ObjectAs<TDataSkinButton>(Element))
        Bytes += BitmapBytes(*Button->CheckBitmap) + BitmapBytes(*Button->RadioBitmap);
    return Bytes;
}

// Pixel memory of every element of a loaded skin.
uint64_t SkinPixelBytes(const TSkinData& Data) {
    const TDataSkinObject* Elements[] = {
        Data.FBorderLeft.get(),      Data.FBorderRight.get(),     Data.FBorderTop.get(),
        Data.FBorderBottom.get(),    Data.FTitle.get(),           Data.FButtons.get(),
        Data.FMenuBar.get(),         Data.FProgress.get(),        Data.FProgressChunk.get(),
        Data.FGroupBoxEdge.get(),    Data.FGroupBox.get(),        Data.FTabs.get(),
        Data.FStatusBarEdges.get(),  Data.FTabPane.get(),         Data.FToolBars.get(),
        Data.FComboButton.get(),     Data.FSunkEdge.get(),        Data.FExtraImages.get(),
        Data.FHeaderbar.get(),       Data.FMenuItem.get(),        Data.FMenuBackground.get(),
        Data.FScrollbar.get(),       Data.FHorzScroll.get(),      Data.FVertScroll.get(),
        Data.FHorzScrollThumb.get(), Data.FVertScrollThumb.get(), Data.FTrackThumbHorz.get(),
        Data.FTrackThumbVert.get(),  Data.FTrackThumbLeft.get(),  Data.FTrackThumbRight.get(),
        Data.FTrackThumbUp.get(),    Data.FTrackThumbDown.get(),  Data.FUpDownHorz.get(),
        Data.FUpDownVert.get(),      Data.FTrack.get(),           Data.FTrackVert.get(),
        Data.FComboArrow.get(),      Data.FToolbar.get()};
    uint64_t Bytes = 0;
    for (const TDataSkinObject* Element : Elements) Bytes += ElementBytes(Element);
    for (const auto& Button : Data.FCaptionButtons) Bytes += ElementBytes(Button.get());
    return Bytes;
}

// Processor time of this thread in milliseconds (user and kernel): on the
// shared machine far less disturbed by other loads than the wall clock.
double ThreadMilliseconds() {
    FILETIME Created, Exited, Kernel, User;
    if (!GetThreadTimes(GetCurrentThread(), &Created, &Exited, &Kernel, &User)) return 0;
    const auto Ticks = [](const FILETIME& Time) {
        return (static_cast<uint64_t>(Time.dwHighDateTime) << 32) | Time.dwLowDateTime;
    };
    constexpr double TicksPerMillisecond = 10000.0;  // FILETIME counts 100 ns
    return static_cast<double>(Ticks(Kernel) + Ticks(User)) / TicksPerMillisecond;
}

double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

// Hostile section counts: about what 1 MB of INI can hold, and a smaller one.
constexpr int HostileSectionCounts[] = {8000, 50000};
// Each hostile measurement repeats until this many rounds or this much time
// has passed.
constexpr int HostileMaxRounds = 10;
constexpr double HostileMaxMilliseconds = 3000;

// A skin whose INI holds Count caption-button sections (bare headers, so
// that 50,000 of them stay within the 1 MB an INI may have; the first ones
// name a bitmap), followed by the sections of a plain skin.
std::vector<uint8_t> ManyButtonsPackage(int Count) {
    constexpr int ButtonsWithImage = 100;
    std::string Ini;
    for (int I = 0; I < Count; ++I) {
        Ini += "[Button" + std::to_string(I) + "]\n";
        if (I < ButtonsWithImage) Ini += "Action=0\nButtonImage=cap.bmp\n";
    }
    Ini += "[Colours]\nButtonFace=230 235 245\n[Personality]\nTop=cap.bmp\n";
    TBmpImage Cap;
    Cap.Width = 60;
    Cap.Height = 20;
    Cap.BitCount = 24;
    Cap.Bits.assign(Cap.Stride() * static_cast<size_t>(Cap.Height), 0x80);
    return BuildSkinPackage(
        {{"hostile.ini", std::vector<uint8_t>(Ini.begin(), Ini.end())}, {"cap.bmp", EncodeBmpFile(Cap)}});
}

// User and kernel time of the process so far, in milliseconds: beside the
// wall time, so that a busy machine does not hide what the work costs.
double ProcessCpuMilliseconds() {
    FILETIME Creation, Exit, Kernel, User;
    if (!GetProcessTimes(GetCurrentProcess(), &Creation, &Exit, &Kernel, &User)) return 0;
    auto Ticks = [](const FILETIME& Time) {
        return (static_cast<uint64_t>(Time.dwHighDateTime) << 32) | Time.dwLowDateTime;
    };
    constexpr double TicksPerMillisecond = 10000.0;  // FILETIME counts 100 ns
    return static_cast<double>(Ticks(Kernel) + Ticks(User)) / TicksPerMillisecond;
}

// Median wall time of Step and its CPU time averaged over the rounds (the
// process clock is too coarse for one round). Prepare runs untimed first.
struct TTimes {
    double Wall = 0;
    double Cpu = 0;
    int Rounds = 0;
};

template <typename TPrepare, typename TStep>
TTimes Measure(TPrepare Prepare, TStep Step) {
    std::vector<double> Wall;
    double Cpu = 0;
    double Total = 0;
    while (static_cast<int>(Wall.size()) < HostileMaxRounds && Total < HostileMaxMilliseconds) {
        auto State = Prepare();
        const double CpuStart = ProcessCpuMilliseconds();
        const auto Start = TClock::now();
        Step(*State);
        Wall.push_back(std::chrono::duration<double, std::milli>(TClock::now() - Start).count());
        Cpu += ProcessCpuMilliseconds() - CpuStart;
        Total += Wall.back();
    }
    return TTimes{Median(Wall), Cpu / static_cast<double>(Wall.size()), static_cast<int>(Wall.size())};
}

void BenchHostileSections() {
    for (const int Count : HostileSectionCounts) {
        const std::vector<uint8_t> Package = ManyButtonsPackage(Count);
        size_t Buttons = 0;
        const TTimes Load = Measure(
            [&] {
                auto Data = std::make_unique<TSkinData>(nullptr);
                FillStream(Data->SkinStream(), Package);
                return Data;
            },
            [&](TSkinData& Data) {
                Data.LoadSkinPackage();
                Buttons = Data.FCaptionButtons.size();
            });
        std::printf(
            "hostile INI of %d caption-button sections (%zu-byte package): load %.1f ms (%.1f ms of CPU, %d "
            "rounds), %zu caption buttons\n",
            Count, Package.size(), Load.Wall, Load.Cpu, Load.Rounds, Buttons);

        // Its parts: expanding the package, reading the INI.
        const TTimes Expand = Measure(
            [&] {
                auto Stream = std::make_unique<TMemoryStream>();
                FillStream(*Stream, Package);
                return Stream;
            },
            [](TMemoryStream& Stream) { TSkinReader().ReadPackage(Stream); });
        const TTimes Read = Measure(
            [&] {
                TMemoryStream Stream;
                FillStream(Stream, Package);
                TSkinReader Reader;
                Reader.ReadPackage(Stream);
                auto IniFile = std::make_unique<TMemoryStream>();
                std::string IniName;
                Reader.ExtractFirstMatch(".ini", *IniFile, IniName);
                return IniFile;
            },
            [](TMemoryStream& IniFile) { TQuickIni().LoadFromStream(&IniFile); });
        std::printf(
            "  of which expanding the package %.1f ms (%.1f ms of CPU), reading the INI %.1f ms (%.1f ms of "
            "CPU)\n",
            Expand.Wall, Expand.Cpu, Read.Wall, Read.Cpu);
        std::fflush(stdout);
    }
}

}  // namespace

int main() {
    const std::vector<uint8_t> Package = DefaultPackage();
    if (Package.empty()) {
        std::fputs("bench_skindata: no default skin resource\n", stderr);
        return 1;
    }

    // The package alone: expand, read the INI, build every element.
    std::vector<double> ParseTimes;
    const double ParseStart = ThreadMilliseconds();
    {
        TSkinData Data(nullptr);
        for (int Round = 0; Round < Rounds; ++Round) {
            FillStream(Data.SkinStream(), Package);
            const auto Start = TClock::now();
            Data.LoadSkinPackage();
            ParseTimes.push_back(std::chrono::duration<double, std::milli>(TClock::now() - Start).count());
        }
    }
    const double ParseProcessor = (ThreadMilliseconds() - ParseStart) / Rounds;

    // The component from a form stream, as the program's form resource gives it.
    TMemoryStream Form;
    {
        TBenchForm Writer(nullptr);
        Writer.SetName("Form1");
        auto* Data = new TSkinData(&Writer);
        Data->SetName("SkinData1");
        FillStream(Data->SkinStream(), Package);
        WriteComponent(Form, &Writer);
    }
    std::vector<double> FormTimes;
    for (int Round = 0; Round < Rounds; ++Round) {
        Form.SetPosition(0);
        TBenchForm Reader(nullptr);
        const auto Start = TClock::now();
        ReadComponentRes(Form, &Reader);
        FormTimes.push_back(std::chrono::duration<double, std::milli>(TClock::now() - Start).count());
    }

    // Memory a loaded skin holds, beyond an empty component.
    TSkinData Empty(nullptr);
    const auto Before = ProcessMemory();
    auto Loaded = std::make_unique<TSkinData>(nullptr);
    FillStream(Loaded->SkinStream(), Package);
    Loaded->LoadSkinPackage();
    const auto After = ProcessMemory();

    std::printf("default skin package: %zu bytes, %zu caption buttons\n", Package.size(),
                Loaded->FCaptionButtons.size());
    std::printf(
        "load and parse from the package: median %.3f ms, best %.3f ms, processor %.3f ms per load (%d rounds)\n",
        Median(ParseTimes), *std::min_element(ParseTimes.begin(), ParseTimes.end()), ParseProcessor, Rounds);
    std::printf("read from a form stream (component, package, parse, Loaded): median %.3f ms (%d rounds)\n",
                Median(FormTimes), Rounds);
    std::printf(
        "memory held by a loaded skin: %.1f KB of element pixels; process growth %.1f KB private, %.1f KB working "
        "set\n",
        SkinPixelBytes(*Loaded) / 1024.0, GrowthKB(Before.first, After.first), GrowthKB(Before.second, After.second));
    std::fflush(stdout);

    BenchHostileSections();
    return 0;
}
