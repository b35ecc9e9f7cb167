// bench_scrolling: a memo of 10,000 lines scrolled one line at a time (SB_LINEDOWN, each step
// painted at once: the memo, and with the skin the scroll-bar overlay), 1,000 lines from its first
// line per pass, skinned by the default skin and with the system's look, alternating; the median
// milliseconds per line of each, and their ratio.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "framework/controls/Memo.h"
#include "framework/win/ResourceData.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/PellixData.h"
#include "skin/form/PellixForm.h"
#include "skin/form/SkinManage.h"

namespace {

constexpr int32_t MemoLines = 10000;
constexpr int32_t Rounds = 5;           // passes of each kind, alternating
constexpr int32_t LinesPerPass = 1000;  // Wine's edit control takes some 25 ms a line at this length
constexpr DWORD SkinPatienceMs = 20000;
using TClock = std::chrono::steady_clock;

std::vector<uint8_t> DefaultPackage() { return win::RcDataBytes(L"DEFAULTSKIN"); }

template <class Condition>
bool PumpUntil(Condition Done) {
    const DWORD Start = GetTickCount();
    while (!Done()) {
        if (GetTickCount() - Start > SkinPatienceMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpPendingMessages();
    }
    return true;
}

// The memo's skinner while the form is skinned, else null.
TSkinScrollbar* MemoSkinner(TForm& Form, TMemo& Memo) {
    TPellixForm* Skinner = SkinManager != nullptr ? SkinManager->FindForm(Form.Handle()) : nullptr;
    if (Skinner == nullptr) return nullptr;
    for (TSkinControlLink* Link : Skinner->FControlSkins)
        if (auto* Skin = dynamic_cast<TSkinScrollbar*>(Link); Skin != nullptr && Skin->Owner() == &Memo) return Skin;
    return nullptr;
}

// Processor time of this thread so far, in milliseconds (the machine is shared: wall-clock time
// also counts other programs' work).
double ThreadCpuMs() {
    FILETIME Created{}, Exited{}, Kernel{}, User{};
    GetThreadTimes(GetCurrentThread(), &Created, &Exited, &Kernel, &User);
    auto Ms = [](const FILETIME& Time) {
        return ((static_cast<uint64_t>(Time.dwHighDateTime) << 32) | Time.dwLowDateTime) / 10000.0;
    };
    return Ms(Kernel) + Ms(User);
}

struct TPassTime {
    double WallMs = 0;  // per line
    double CpuMs = 0;   // per line
};

// One pass of LinesPerPass lines from the first line; milliseconds per line.
TPassTime ScrollPass(TMemo& Memo) {
    const HWND Window = Memo.Handle();
    SendMessageW(Window, WM_VSCROLL, SB_TOP, 0);
    PumpPendingMessages();
    const auto Start = TClock::now();
    const double CpuStart = ThreadCpuMs();
    int32_t Steps = 0;
    for (int32_t Last = -1; Steps < LinesPerPass;) {
        SendMessageW(Window, WM_VSCROLL, SB_LINEDOWN, 0);
        UpdateWindow(Window);
        PumpPendingMessages();  // the overlay's paint, when skinned
        const auto First = static_cast<int32_t>(SendMessageW(Window, EM_GETFIRSTVISIBLELINE, 0, 0));
        if (First == Last) break;
        Last = First;
        ++Steps;
    }
    const double Ms = std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
    const double Cpu = ThreadCpuMs() - CpuStart;
    std::printf("    pass: %d lines in %.0f ms (%.0f ms processor time)\n", Steps, Ms, Cpu);
    return TPassTime{Ms / Steps, Cpu / Steps};
}

double Median(const std::vector<TPassTime>& Passes, double TPassTime::*Field) {
    std::vector<double> Values;
    for (const TPassTime& Pass : Passes) Values.push_back(Pass.*Field);
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

}  // namespace

int main() {
    Application->Initialize();
    auto* Form = new TForm(nullptr);
    Form->SetCaption("Scrolling");
    Form->SetBounds(100, 100, 360, 300);
    auto* Memo = new TMemo(Form);
    Memo->SetParent(Form);
    Memo->SetBounds(10, 10, 320, 240);
    Memo->SetScrollBars(ssVertical);
    std::string Text;
    for (int32_t Line = 0; Line < MemoLines; ++Line) Text += "Line " + std::to_string(Line) + " of the memo\r\n";
    Memo->SetText(Text);

    auto* Data = new TSkinData(Form);
    Data->SetSkinFormtype(sfMainform);
    const std::vector<uint8_t> Package = DefaultPackage();
    Data->SkinStream().WriteBuffer(Package.data(), static_cast<int32_t>(Package.size()));
    Data->SkinStream().SetPosition(0);
    if (!Data->LoadSkinPackage()) {
        std::printf("the default skin did not load\n");
        return 1;
    }
    Data->SetActive(true);
    Data->Loaded();
    Form->Show();
    PumpPendingMessages();

    std::vector<TPassTime> Plain;
    std::vector<TPassTime> Skinned;
    std::printf("memo of %d lines, 320 x 240, scrolled one line at a time (SB_LINEDOWN + paint)\n", MemoLines);
    for (int32_t Round = 0; Round < Rounds; ++Round) {
        if (Round > 0) Data->SetActive(true);
        SetForegroundWindow(Form->Handle());
        if (!PumpUntil([&] {
                TSkinScrollbar* Skin = MemoSkinner(*Form, *Memo);
                return Skin != nullptr && Skin->FVertBar != nullptr && Skin->FVertBar->FShowing;
            })) {
            std::printf("the memo was not skinned\n");
            return 1;
        }
        std::printf("  skinned\n");
        Skinned.push_back(ScrollPass(*Memo));
        Data->SetActive(false);
        if (!PumpUntil([&] { return MemoSkinner(*Form, *Memo) == nullptr; })) return 1;
        std::printf("  system look\n");
        Plain.push_back(ScrollPass(*Memo));
    }
    for (auto [Field, Name] :
         {std::pair{&TPassTime::WallMs, "wall-clock"}, std::pair{&TPassTime::CpuMs, "processor"}}) {
        const double PlainMs = Median(Plain, Field);
        const double SkinnedMs = Median(Skinned, Field);
        std::printf("median per line (%s): system look %.3f ms, skinned %.3f ms, ratio %.2fx\n", Name, PlainMs,
                    SkinnedMs, SkinnedMs / PlainMs);
    }
    delete Form;
    PumpPendingMessages();
    return 0;
}
