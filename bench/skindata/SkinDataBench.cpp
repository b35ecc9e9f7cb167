// bench_skindata: time to load and parse the default skin (the package
// alone, and the whole component read from a form stream as the program's
// form resource gives it) and the memory a loaded skin holds. Wall-clock
// medians and best, and the thread's processor time per load (a mean).
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "framework/core/Streaming.h"
#include "skin/data/PellixData.h"

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

std::vector<uint8_t> DefaultPackage() {
    HRSRC Found = FindResourceW(nullptr, L"DEFAULTSKIN", MAKEINTRESOURCEW(10));
    if (Found == nullptr) return {};
    const auto* Bytes = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, Found)));
    return std::vector<uint8_t>(Bytes, Bytes + SizeofResource(nullptr, Found));
}

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
    return 0;
}
