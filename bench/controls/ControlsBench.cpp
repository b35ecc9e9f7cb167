// bench_controls: a full repaint of Quirn's main window — RedrawWindow with the frame, erasing and every
// child, updated at once — with the skin off and with each bundled skin on, in alternating rounds of one
// run. Figures are the median and best milliseconds per repaint over the rounds, and the skinned time as a
// multiple of the unskinned one.
//
// bench_controls --show [PACKAGE.skn]: shows the form skinned (with the package instead of the form's own
// skin when one is named) until it is closed; tools/screenshot takes its pictures so.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "framework/controls/Application.h"
#include "skin/data/PellixData.h"
#include "skin/form/SkinFormConstants.h"

namespace {

constexpr int Rounds = 7;
constexpr int RepaintsPerRound = 100;
constexpr DWORD PatienceMs = 30000;
constexpr UINT FullRepaint = RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
using TClock = std::chrono::steady_clock;

// <build>\bench\controls\bench_controls.exe -> <build>\app\graphite.skn
std::string BundledPackage(const char* Name) {
    char Path[MAX_PATH]{};
    GetModuleFileNameA(nullptr, Path, MAX_PATH);
    std::string Text = Path;
    for (int Level = 0; Level < 3; ++Level) Text = Text.substr(0, Text.find_last_of("\\/"));
    return Text + "\\app\\" + Name + ".skn";
}

void Pump() {
    MSG Msg;
    while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
}

// Handles messages until Condition holds; false after the patience.
template <class Condition>
bool PumpUntil(Condition&& Holds) {
    const DWORD Start = GetTickCount();
    while (!Holds()) {
        if (GetTickCount() - Start > PatienceMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    return true;
}

bool Skinned(HWND Window) { return SendMessageW(Window, WM_SKINQUERY, 0, 0) == SkinQueryAnswer; }

// The form and its controls are skinned (On) or all left to the system.
bool FormSkinned(bool On) {
    const HWND Windows[] = {Form1->Handle(), Form1->Button1->Handle(), Form1->GroupBox1->Handle(),
                            Form1->StatusBar1->Handle()};
    return std::all_of(std::begin(Windows), std::end(Windows), [&](HWND Window) { return Skinned(Window) == On; });
}

// Milliseconds per full repaint, one value per round.
void TimeRepaints(std::vector<double>& Into) {
    const HWND Window = Form1->Handle();
    const TClock::time_point Start = TClock::now();
    for (int Index = 0; Index < RepaintsPerRound; ++Index) RedrawWindow(Window, nullptr, nullptr, FullRepaint);
    GdiFlush();
    const std::chrono::duration<double, std::milli> Taken = TClock::now() - Start;
    Into.push_back(Taken.count() / RepaintsPerRound);
    Pump();
}

double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

double Best(const std::vector<double>& Values) { return *std::min_element(Values.begin(), Values.end()); }

struct TSkinCase {
    const char* Name;
    std::string Package;  // empty: the form's own (default) skin; "-": skin off
    std::vector<double> Times;
};

// Puts the form into the case's skin and waits until the engine has finished with it.
bool Use(TSkinCase& Case) {
    TSkinData* Data = Form1->SkinData1;
    if (Case.Package == "-") {
        Data->SetActive(false);
        return PumpUntil([] { return FormSkinned(false); });
    }
    Data->SetSkinFile(Case.Package);
    if (!Data->Active()) Data->SetActive(true);
    if (!PumpUntil([] { return FormSkinned(true); })) return false;
    // The skin change reaches a skinned window through the manager's action timer; let it pass.
    const DWORD Settle = GetTickCount();
    PumpUntil([&] { return GetTickCount() - Settle > 600; });
    return true;
}

int Show(const std::string& Package) {
    if (!Package.empty()) Form1->SkinData1->SetSkinFile(Package);
    Application->Run();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Application->Initialize();
    Application->SetTitle("Quirn");
    Application->CreateForm(Form1);
    if (argc >= 2 && std::string(argv[1]) == "--show") return Show(argc >= 3 ? argv[2] : "");

    Form1->Show();
    SetForegroundWindow(Form1->Handle());
    if (!PumpUntil([] { return FormSkinned(true); })) {
        std::printf("the form was not skinned within %lu ms\n", PatienceMs);
        return 1;
    }
    const std::string DefaultSkin = BundledPackage("default");
    const std::string GraphiteSkin = BundledPackage("graphite");
    TSkinCase Cases[] = {{"skin off", "-", {}}, {"default skin", DefaultSkin, {}}, {"graphite skin", GraphiteSkin, {}}};
    // Warm-up: each case once, so that fonts, buffers and bitmaps exist before the measured rounds.
    for (TSkinCase& Case : Cases) {
        if (!Use(Case)) {
            std::printf("could not switch to %s\n", Case.Name);
            return 1;
        }
        std::vector<double> Ignored;
        TimeRepaints(Ignored);
    }
    for (int Round = 0; Round < Rounds; ++Round)
        for (TSkinCase& Case : Cases) {
            if (!Use(Case)) {
                std::printf("could not switch to %s\n", Case.Name);
                return 1;
            }
            TimeRepaints(Case.Times);
        }

    std::printf("full repaint of Quirn's main window (RedrawWindow: frame, erase, all children, update now)\n");
    std::printf("%d rounds of %d repaints, milliseconds per repaint\n", Rounds, RepaintsPerRound);
    const double Unskinned = Median(Cases[0].Times);
    for (const TSkinCase& Case : Cases)
        std::printf("  %-14s median %7.3f  best %7.3f  (%.2fx the unskinned)\n", Case.Name, Median(Case.Times),
                    Best(Case.Times), Median(Case.Times) / Unskinned);
    Application->DestroyForms();
    return 0;
}
