// bench_skinform: what the skinned window costs, each figure side by side with the system's own in one run.
//  - WM_NCPAINT of a window of Quirn's main form (client 347 x 278, its caption) painted by the system, then
//    by the form skinner after the skin is switched on;
//  - UpdateRegion (the window's shape from the transparent borders) of a skinned window of 1920 x 1080;
//  - process start to the first painted frame: this program started again as a child that makes the form
//    with its skin data switched on, and with it switched off;
//  - memory held per skinned form: forms made with the skin off, then skinned by switching it on.
// Times are medians of several rounds of wall-clock time (the machine is shared).
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/controls/Form.h"
#include "framework/core/Streaming.h"
#include "skin/data/PellixData.h"
#include "skin/form/PellixForm.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr wchar_t MainCaption[] = L"Quirn\u7F16\u7801\u67E5\u8BE2\u5668";
constexpr int32_t MainClientWidth = 347;
constexpr int32_t MainClientHeight = 278;
constexpr int PaintRounds = 9;
constexpr int PaintsPerRound = 200;
constexpr int RegionRounds = 15;
constexpr int StartRounds = 9;
constexpr int MemoryForms = 40;
constexpr char FirstPaintSwitch[] = "--first-paint";

std::vector<uint8_t> DefaultPackage() {
    HRSRC Found = FindResourceW(nullptr, L"DEFAULTSKIN", MAKEINTRESOURCEW(10));
    if (Found == nullptr) return {};
    const auto* Bytes = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, Found)));
    return std::vector<uint8_t>(Bytes, Bytes + SizeofResource(nullptr, Found));
}

// A main skin data on Owner holding the default package, loaded as a form resource leaves it.
TSkinData* AddSkinData(TComponent* Owner, bool Active) {
    auto* Data = new TSkinData(Owner);
    Data->SetSkinFormtype(sfMainform);
    const std::vector<uint8_t> Package = DefaultPackage();
    TMemoryStream& Stream = Data->SkinStream();
    Stream.WriteBuffer(Package.data(), static_cast<int32_t>(Package.size()));
    Stream.SetPosition(0);
    Data->LoadSkinPackage();
    Data->SetActive(Active);
    Data->Loaded();
    return Data;
}

TForm* MakeMainForm(int32_t Left = 100, int32_t Top = 80) {
    auto* Form = new TForm(nullptr);
    Form->SetBorderStyle(bsSingle);
    Form->SetBorderIcons(TBorderIcons{biSystemMenu, biMinimize});
    Form->SetLeft(Left);
    Form->SetTop(Top);
    Form->SetClientWidth(MainClientWidth);
    Form->SetClientHeight(MainClientHeight);
    return Form;
}

void FreeForm(TForm* Form) {
    Form->BeforeDestruction();
    delete Form;
}

void Pump() {
    MSG Msg;
    while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
}

bool Skinned(HWND Window) {
    TPellixForm* Skinner = SkinManager != nullptr ? SkinManager->FindForm(Window) : nullptr;
    return Skinner != nullptr && Skinner->FAttached && Skinner->FSkinState == SkinStateRunning && Skinner->FSkinFrame;
}

// Handles messages until Condition holds (false after 30 s).
template <class TCondition>
bool PumpUntil(TCondition Condition) {
    const DWORD Start = GetTickCount();
    while (!Condition()) {
        if (GetTickCount() - Start > 30000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        Pump();
    }
    return true;
}

double Milliseconds(TClock::duration Span) { return std::chrono::duration<double, std::milli>(Span).count(); }

double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

// Median time of one WM_NCPAINT of the whole frame, in microseconds.
double NCPaintMicroseconds(HWND Window) {
    std::vector<double> PerPaint;
    for (int Round = 0; Round < PaintRounds; ++Round) {
        GdiFlush();
        const auto Start = TClock::now();
        for (int Paint = 0; Paint < PaintsPerRound; ++Paint) SendMessageW(Window, WM_NCPAINT, 1, 0);
        GdiFlush();
        PerPaint.push_back(Milliseconds(TClock::now() - Start) * 1000.0 / PaintsPerRound);
    }
    return Median(PerPaint);
}

void BenchNCPaint() {
    TForm* Form = MakeMainForm();
    TSkinData* Data = AddSkinData(Form, false);
    Form->Show();
    SetWindowTextW(Form->Handle(), MainCaption);
    SetForegroundWindow(Form->Handle());
    PumpUntil([&] { return GetForegroundWindow() == Form->Handle(); });
    Pump();
    const double System = NCPaintMicroseconds(Form->Handle());
    Data->SetActive(true);
    if (!PumpUntil([&] { return Skinned(Form->Handle()); })) std::printf("  (the form was not skinned)\n");
    Pump();
    const double Skin = NCPaintMicroseconds(Form->Handle());
    std::printf("WM_NCPAINT of the main window (%d x %d client), median of %d rounds of %d paints\n", MainClientWidth,
                MainClientHeight, PaintRounds, PaintsPerRound);
    std::printf("  system frame (Wine):  %8.1f us\n", System);
    std::printf("  skinned frame:        %8.1f us   (%.2fx the system's)\n", Skin, Skin / System);
    FreeForm(Form);
    FreeSkinManager();
    Pump();
}

void BenchUpdateRegion() {
    TForm* Form = MakeMainForm(0, 0);
    Form->SetBorderStyle(bsSizeable);
    AddSkinData(Form, true);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    PumpUntil([&] { return Skinned(Form->Handle()); });
    SetWindowPos(Form->Handle(), nullptr, 0, 0, 1920, 1080, SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    RECT Outer{};
    GetWindowRect(Form->Handle(), &Outer);
    TPellixForm* Skinner = SkinManager->FindForm(Form->Handle());
    std::vector<double> Times;
    for (int Round = 0; Round < RegionRounds; ++Round) {
        Skinner->FHasRegion = false;  // the skinner keeps a region while the size stays
        const auto Start = TClock::now();
        Skinner->UpdateRegion();
        Times.push_back(Milliseconds(TClock::now() - Start));
    }
    HRGN Region = CreateRectRgn(0, 0, 0, 0);
    const int Kind = GetWindowRgn(Form->Handle(), Region);
    const DWORD Rectangles = Kind == ERROR ? 0 : (GetRegionData(Region, 0, nullptr) - sizeof(RGNDATAHEADER)) / 16;
    // Of which the system's part: giving the window the same region again.
    std::vector<double> SetTimes;
    for (int Round = 0; Round < RegionRounds; ++Round) {
        HRGN Copy = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(Copy, Region, nullptr, RGN_COPY);
        const auto Start = TClock::now();
        if (SetWindowRgn(Form->Handle(), Copy, TRUE) == 0) DeleteObject(Copy);
        SetTimes.push_back(Milliseconds(TClock::now() - Start));
    }
    DeleteObject(Region);
    std::printf("UpdateRegion of a skinned window of %ld x %ld (transparent corners), median of %d rounds\n",
                Outer.right - Outer.left, Outer.bottom - Outer.top, RegionRounds);
    std::printf("  %8.2f ms, best %.2f ms (region of %lu rectangles)\n", Median(Times),
                *std::min_element(Times.begin(), Times.end()), static_cast<unsigned long>(Rectangles));
    std::printf("  of which SetWindowRgn with the same region: %.2f ms\n", Median(SetTimes));
    FreeForm(Form);
    FreeSkinManager();
    Pump();
}

// The child: the main form with its skin data on or off, shown; the event is set once its frame has been
// painted (by the skin when on).
int FirstPaintChild(bool SkinOn, const char* EventName) {
    TForm* Form = MakeMainForm();
    AddSkinData(Form, SkinOn);
    Form->Show();
    SetWindowTextW(Form->Handle(), MainCaption);
    SetForegroundWindow(Form->Handle());
    const bool Ready = PumpUntil([&] { return SkinOn ? Skinned(Form->Handle()) : IsWindowVisible(Form->Handle()); });
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    GdiFlush();
    HANDLE Event = OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName);
    if (Event != nullptr) {
        SetEvent(Event);
        CloseHandle(Event);
    }
    FreeForm(Form);
    return Ready ? 0 : 1;
}

// Milliseconds from CreateProcess to the child's event, or a negative number when it failed.
double StartToFirstPaint(bool SkinOn) {
    char Module[MAX_PATH]{};
    GetModuleFileNameA(nullptr, Module, MAX_PATH);
    const std::string EventName = "QuirnBenchFirstPaint" + std::to_string(GetCurrentProcessId());
    HANDLE Event = CreateEventA(nullptr, TRUE, FALSE, EventName.c_str());
    std::string Command =
        std::string("\"") + Module + "\" " + FirstPaintSwitch + (SkinOn ? " on " : " off ") + EventName;
    STARTUPINFOA Startup{};
    Startup.cb = sizeof(Startup);
    PROCESS_INFORMATION Process{};
    const auto Start = TClock::now();
    double Result = -1;
    if (CreateProcessA(nullptr, Command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Process)) {
        if (WaitForSingleObject(Event, 60000) == WAIT_OBJECT_0) Result = Milliseconds(TClock::now() - Start);
        WaitForSingleObject(Process.hProcess, 60000);
        CloseHandle(Process.hThread);
        CloseHandle(Process.hProcess);
    }
    CloseHandle(Event);
    return Result;
}

void BenchFirstPaint() {
    std::vector<double> On;
    std::vector<double> Off;
    StartToFirstPaint(false);  // the first start of a program under Wine loads more than the others
    for (int Round = 0; Round < StartRounds; ++Round) {
        Off.push_back(StartToFirstPaint(false));
        On.push_back(StartToFirstPaint(true));
    }
    const double MedianOff = Median(Off);
    const double MedianOn = Median(On);
    std::printf("process start to the first painted frame, median of %d starts each (alternating)\n", StartRounds);
    std::printf("  skin inactive:  %8.1f ms\n", MedianOff);
    std::printf("  skinned:        %8.1f ms   (%.2fx)\n", MedianOn, MedianOn / MedianOff);
}

// Bytes in use in every heap of the process (the C runtime keeps one of its own for new and malloc).
size_t HeapBytesInUse() {
    std::vector<HANDLE> Heaps(GetProcessHeaps(0, nullptr) + 16);
    Heaps.resize(GetProcessHeaps(static_cast<DWORD>(Heaps.size()), Heaps.data()));
    size_t Bytes = 0;
    for (HANDLE Heap : Heaps) {
        if (!HeapLock(Heap)) continue;
        PROCESS_HEAP_ENTRY Entry{};
        while (HeapWalk(Heap, &Entry))
            if ((Entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) Bytes += Entry.cbData;
        HeapUnlock(Heap);
    }
    return Bytes;
}

size_t WorkingSet() {
    PROCESS_MEMORY_COUNTERS Counters{};
    Counters.cb = sizeof(Counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &Counters, sizeof(Counters));
    return Counters.WorkingSetSize;
}

// GDI objects of this process: Wine answers 0 to GetGuiResources, so its handle table is probed (Wine
// takes a handle's index without its generation bits).
int GdiObjects() {
    const DWORD Reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (Reported != 0) return static_cast<int>(Reported);
    int Count = 0;
    for (uintptr_t Index = 0x20; Index < 0x10000; ++Index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(Index)) != 0) ++Count;
    return Count;
}

void BenchMemory() {
    TForm* Host = MakeMainForm();
    TSkinData* Data = AddSkinData(Host, false);
    Host->Show();
    std::vector<TForm*> Forms;
    for (int Index = 0; Index < MemoryForms; ++Index) {
        Forms.push_back(MakeMainForm(140 + Index * 4, 100 + Index * 4));
        Forms.back()->Show();
    }
    Pump();
    const size_t HeapBefore = HeapBytesInUse();
    const size_t SetBefore = WorkingSet();
    const int GdiBefore = GdiObjects();
    Data->SetActive(true);
    const bool AllSkinned = PumpUntil([&] {
        for (TForm* Form : Forms)
            if (!Skinned(Form->Handle())) return false;
        return Skinned(Host->Handle());
    });
    for (TForm* Form : Forms) SendMessageW(Form->Handle(), WM_NCPAINT, 1, 0);
    Pump();
    const double Count = MemoryForms + 1;
    const double Heap = (static_cast<double>(HeapBytesInUse()) - static_cast<double>(HeapBefore)) / Count;
    const double Set = (static_cast<double>(WorkingSet()) - static_cast<double>(SetBefore)) / Count;
    const double Gdi = (GdiObjects() - GdiBefore) / Count;
    const TPellixForm* Skinner = SkinManager->FindForm(Forms.front()->Handle());
    const size_t Buffer = Skinner != nullptr && Skinner->FCaptionBuffer && !Skinner->FCaptionBuffer->Empty()
                              ? static_cast<size_t>(Skinner->FCaptionBuffer->RowBytes()) *
                                    static_cast<size_t>(Skinner->FCaptionBuffer->Height())
                              : 0;
    std::printf("memory held per skinned form (%d forms of %d x %d skinned by switching the skin on%s)\n",
                MemoryForms + 1, MainClientWidth, MainClientHeight, AllSkinned ? "" : "; NOT ALL SKINNED");
    std::printf(
        "  heap %.1f KB, working set %.1f KB, %.1f GDI objects; skinner object %u bytes, caption "
        "buffer %u bytes\n",
        Heap / 1024.0, Set / 1024.0, Gdi, static_cast<unsigned>(sizeof(TPellixForm)), static_cast<unsigned>(Buffer));
    for (TForm* Form : Forms) FreeForm(Form);
    FreeForm(Host);
    FreeSkinManager();
    Pump();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], FirstPaintSwitch) == 0)
        return FirstPaintChild(std::strcmp(argv[2], "on") == 0, argv[3]);
    // One part alone when named: ncpaint, region, start, memory.
    const std::string Only = argc == 2 ? argv[1] : "";
    std::printf("default skin package: %u bytes\n", static_cast<unsigned>(DefaultPackage().size()));
    if (Only.empty() || Only == "ncpaint") BenchNCPaint();
    if (Only.empty() || Only == "region") BenchUpdateRegion();
    if (Only.empty() || Only == "start") BenchFirstPaint();
    if (Only.empty() || Only == "memory") BenchMemory();
    return 0;
}
