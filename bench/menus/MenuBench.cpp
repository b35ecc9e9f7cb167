// Time from a real mouse press on a menu-bar item to the item's drop-down painted, on a form whose
// menu bar the skin draws and on one the system draws (Tag 99: never skinned), in one run with the
// rounds interleaved. A driver thread presses the mouse (SendInput) and takes the time, and takes it
// again when a menu window is shown with nothing left to paint.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/controls/Form.h"
#include "framework/controls/Menu.h"
#include "skin/data/PellixData.h"
#include "skin/form/PellixForm.h"
#include "skin/form/PellixMenu.h"

namespace {

constexpr int Rounds = 30;
constexpr DWORD PatienceMs = 3000;

std::atomic<int64_t> PaintedAt{0};

int64_t Now() {
    LARGE_INTEGER Counter{};
    QueryPerformanceCounter(&Counter);
    return Counter.QuadPart;
}

double Milliseconds(int64_t Ticks) {
    LARGE_INTEGER Frequency{};
    QueryPerformanceFrequency(&Frequency);
    return 1000.0 * static_cast<double>(Ticks) / static_cast<double>(Frequency.QuadPart);
}

bool IsMenuWindow(HWND Window) {
    wchar_t Name[16]{};
    GetClassNameW(Window, Name, 16);
    return lstrcmpW(Name, L"#32768") == 0;
}

BOOL CALLBACK FindMenu(HWND Window, LPARAM Found) {
    if (IsMenuWindow(Window) && IsWindowVisible(Window)) *reinterpret_cast<bool*>(Found) = true;
    return TRUE;
}

BOOL CALLBACK FindPaintedMenu(HWND Window, LPARAM Found) {
    // Shown and with nothing left to paint.
    if (IsMenuWindow(Window) && IsWindowVisible(Window) && !GetUpdateRect(Window, nullptr, FALSE))
        *reinterpret_cast<bool*>(Found) = true;
    return TRUE;
}

bool MenuPainted() {
    bool Found = false;
    EnumWindows(FindPaintedMenu, reinterpret_cast<LPARAM>(&Found));
    if (Found && PaintedAt == 0) PaintedAt = Now();
    return Found;
}

bool MenuShown() {
    bool Found = false;
    EnumWindows(FindMenu, reinterpret_cast<LPARAM>(&Found));
    return Found;
}

void SendMouse(POINT At, DWORD Flags) {
    INPUT Input{};
    Input.type = INPUT_MOUSE;
    Input.mi.dx = static_cast<LONG>(At.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    Input.mi.dy = static_cast<LONG>(At.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    Input.mi.dwFlags = Flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &Input, sizeof(Input));
}

void SendKey(WORD Key) {
    INPUT Inputs[2]{};
    Inputs[0].type = Inputs[1].type = INPUT_KEYBOARD;
    Inputs[0].ki.wVk = Inputs[1].ki.wVk = Key;
    Inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, Inputs, sizeof(INPUT));
}

bool Wait(bool (*Condition)()) {
    const DWORD Start = GetTickCount();
    while (!Condition())
        if (GetTickCount() - Start > PatienceMs)
            return false;
        else
            Sleep(1);
    return true;
}

// One round on the driver thread: the press, the time until the drop-down is painted, then Esc.
struct TRound {
    POINT Item{};
    HWND Window = nullptr;
    double Result = -1;
};

DWORD WINAPI Drive(void* Data) {
    auto* Round = static_cast<TRound*>(Data);
    SetForegroundWindow(Round->Window);
    SendMouse(POINT{Round->Item.x + 30, Round->Item.y + 60}, 0);
    // Two presses on the same place within the double-click time would make a double click.
    Sleep(GetDoubleClickTime() + 50);
    PaintedAt = 0;
    const int64_t Pressed = Now();
    SendMouse(Round->Item, MOUSEEVENTF_LEFTDOWN);
    SendMouse(Round->Item, MOUSEEVENTF_LEFTUP);
    if (Wait([] { return MenuPainted(); })) Round->Result = Milliseconds(PaintedAt - Pressed);
    SendKey(VK_ESCAPE);
    Wait([] { return !MenuShown(); });
    // The system's menu bar stays in menu mode after its drop-down closes: a second Esc leaves it.
    SendKey(VK_ESCAPE);
    Sleep(30);
    return 0;
}

void Pump() {
    MSG Msg;
    while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
}

double RunRound(HWND Window, POINT Item) {
    TRound Round{Item, Window};
    HANDLE Thread = CreateThread(nullptr, 0, Drive, &Round, 0, nullptr);
    while (MsgWaitForMultipleObjects(1, &Thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) Pump();
    CloseHandle(Thread);
    Pump();
    return Round.Result;
}

TForm* MakeMenuForm(int Left, int32_t Tag) {
    auto* Form = new TForm(nullptr);
    Form->SetCaption(Tag == 99 ? "System" : "Skinned");
    Form->SetLeft(Left);
    Form->SetTop(80);
    Form->SetClientWidth(360);
    Form->SetClientHeight(260);
    Form->SetTag(Tag);
    auto* Menu = new TMainMenu(Form);
    const char* Tops[] = {"&File", "&Edit", "&View"};
    for (const char* Top : Tops) {
        auto* Item = new TMenuItem(Form);
        Item->SetCaption(Top);
        Menu->Items()->Add(Item);
        for (int Entry = 0; Entry < 12; ++Entry) {
            auto* Sub = new TMenuItem(Form);
            Sub->SetCaption(Entry == 4 ? "-" : "Entry &" + std::to_string(Entry));
            if (Entry == 2) Sub->SetChecked(true);
            if (Entry == 3) Sub->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
            Item->Add(Sub);
        }
    }
    Form->SetMenu(Menu);
    return Form;
}

std::vector<uint8_t> DefaultPackage() {
    HRSRC Resource = FindResourceA(nullptr, "DEFAULTSKIN", MAKEINTRESOURCEA(10));
    HGLOBAL Loaded = Resource ? LoadResource(nullptr, Resource) : nullptr;
    const auto* Bytes = Loaded ? static_cast<const uint8_t*>(LockResource(Loaded)) : nullptr;
    if (Bytes == nullptr) return {};
    return std::vector<uint8_t>(Bytes, Bytes + SizeofResource(nullptr, Resource));
}

double Median(std::vector<double> Values) {
    if (Values.empty()) return -1;
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

}  // namespace

int main() {
    setvbuf(stdout, nullptr, _IONBF, 0);
    TForm* Plain = MakeMenuForm(40, 99);
    TForm* Skinned = MakeMenuForm(440, 0);
    auto* Data = new TSkinData(Skinned);
    const std::vector<uint8_t> Package = DefaultPackage();
    Data->SkinStream().WriteBuffer(Package.data(), static_cast<int32_t>(Package.size()));
    Data->SkinStream().SetPosition(0);
    Data->LoadSkinPackage();
    Data->SetActive(true);
    Data->Loaded();
    Plain->Show();
    Skinned->Show();
    SetForegroundWindow(Skinned->Handle());
    for (DWORD Start = GetTickCount(); GetTickCount() - Start < 2000;) {
        Pump();
        Sleep(10);
    }
    TPellixForm* Skinner = SkinManager != nullptr ? SkinManager->FindForm(Skinned->Handle()) : nullptr;
    auto* Bar = Skinner != nullptr ? dynamic_cast<TPellixMenu*>(Skinner->FMenuBar.get()) : nullptr;
    if (Bar == nullptr || Bar->ButtonCount() == 0) {
        std::printf("the skinned form has no skinned menu bar\n");
        return 1;
    }
    RECT Outer{};
    GetWindowRect(Skinned->Handle(), &Outer);
    const POINT SkinnedItem{Outer.left + (Bar->Button(0)->FBounds.left + Bar->Button(0)->FBounds.right) / 2,
                            Outer.top + (Bar->Button(0)->FBounds.top + Bar->Button(0)->FBounds.bottom) / 2};
    RECT PlainRect{};
    GetMenuItemRect(Plain->Handle(), GetMenu(Plain->Handle()), 0, &PlainRect);
    const POINT PlainItem{(PlainRect.left + PlainRect.right) / 2, (PlainRect.top + PlainRect.bottom) / 2};

    std::vector<double> SkinnedTimes;
    std::vector<double> PlainTimes;
    for (int Round = 0; Round < Rounds; ++Round) {
        // Turned order each round, so that neither always runs first.
        const bool SkinFirst = Round % 2 == 0;
        for (int Half = 0; Half < 2; ++Half) {
            const bool Skin = (Half == 0) == SkinFirst;
            const double Ms = Skin ? RunRound(Skinned->Handle(), SkinnedItem) : RunRound(Plain->Handle(), PlainItem);
            if (Ms >= 0) (Skin ? SkinnedTimes : PlainTimes).push_back(Ms);
        }
    }
    const double SkinnedMedian = Median(SkinnedTimes);
    const double PlainMedian = Median(PlainTimes);
    std::printf("press to drop-down painted, median of %zu / %zu rounds:\n", SkinnedTimes.size(), PlainTimes.size());
    std::printf("  system menu bar  %8.2f ms\n", PlainMedian);
    std::printf("  skinned menu bar %8.2f ms  (x%.2f)\n", SkinnedMedian,
                PlainMedian > 0 ? SkinnedMedian / PlainMedian : 0.0);
    delete Skinned;
    delete Plain;
    return 0;
}
