// The form skinner tests' kit.
#include "SkinFormKit.h"

#include "InputScript.h"
#include "OnScreen.h"
#include "SkinFixtures.h"
#include "framework/controls/Application.h"
#include "framework/win/ResourceData.h"

namespace formtest {

namespace {

constexpr wchar_t BackdropClass[] = L"QuirnTestBackdrop";
constexpr int32_t BackdropMargin = 60;
constexpr int32_t BackdropSize = 900;

// A module that is not this program: its windows are foreign to the skin manager.
HINSTANCE ForeignModule() { return GetModuleHandleW(L"user32.dll"); }

}  // namespace

const std::vector<uint8_t>& BundledPackage(const char* ResourceName) {
    static std::vector<uint8_t> Default;
    static std::vector<uint8_t> Graphite;
    std::vector<uint8_t>& Bytes = std::string(ResourceName) == "DEFAULT_SKN" ? Default : Graphite;
    if (Bytes.empty()) Bytes = win::RcDataBytes(ResourceName);
    return Bytes;
}

const std::vector<uint8_t>& DefaultPackage() { return BundledPackage("DEFAULT_SKN"); }
const std::vector<uint8_t>& GraphitePackage() { return BundledPackage("GRAPHITE_SKN"); }

TForm* MakeForm(int32_t ClientWidth, int32_t ClientHeight, TBorderStyle Style, TBorderIcons Icons,
                const std::string& Caption) {
    auto* Form = new TForm(nullptr);
    Form->SetBorderStyle(Style);
    Form->SetBorderIcons(Icons);
    Form->SetCaption(Caption);
    Form->SetLeft(FormLeft);
    Form->SetTop(FormTop);
    Form->SetClientWidth(ClientWidth);
    Form->SetClientHeight(ClientHeight);
    return Form;
}

void FreeForm(TForm* Form) {
    if (Form == nullptr) return;
    Form->BeforeDestruction();
    delete Form;
    Pump();
}

TSkinData* AddSkinData(TComponent* Owner, const std::vector<uint8_t>& Package, TSkinFormType Type, bool Active) {
    auto* Data = new TSkinData(Owner);
    Data->SetSkinFormtype(Type);
    skintest::LoadPackageBytes(*Data, Package);
    Data->SetActive(Active);
    Data->Loaded();
    return Data;
}

TPellixForm* SkinnerOf(HWND Window) { return SkinManager != nullptr ? SkinManager->FindForm(Window) : nullptr; }

bool WaitSkinned(HWND Window) {
    return realinput::PumpUntil([&] {
        TPellixForm* Skinner = SkinnerOf(Window);
        return Skinner != nullptr && Skinner->FAttached && Skinner->FSkinState == SkinStateRunning;
    });
}

bool WaitUnskinned(HWND Window) {
    return realinput::PumpUntil([&] { return SkinnerOf(Window) == nullptr; });
}

void Pump() {
    MSG Msg;
    while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
}

bool ShowSkinned(TForm* Form) {
    Form->Show();
    SetForegroundWindow(Form->Handle());
    if (!WaitSkinned(Form->Handle())) return false;
    // A menu opened before the screen shows the form would go under it (OnScreen.h).
    if (const ::testing::AssertionResult Shown = WaitUntilOnScreen(Form->Handle()); !Shown) {
        ADD_FAILURE() << Shown.message();
        return false;
    }
    return true;
}

TBackdrop::TBackdrop() {
    static const ATOM Class = [] {
        WNDCLASSW Info{};
        // Global, so that a window of it may name another module as its instance.
        Info.style = CS_GLOBALCLASS;
        Info.lpfnWndProc = DefWindowProcW;
        Info.hInstance = GetModuleHandleW(nullptr);
        Info.hbrBackground = CreateSolidBrush(BackdropColour);
        Info.lpszClassName = BackdropClass;
        return RegisterClassW(&Info);
    }();
    static_cast<void>(Class);
    FWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, BackdropClass, L"", WS_POPUP,
                              FormLeft - BackdropMargin, FormTop - BackdropMargin, BackdropSize, BackdropSize, nullptr,
                              nullptr, ForeignModule(), nullptr);
    SetWindowPos(FWindow, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(FWindow);
}

TBackdrop::~TBackdrop() {
    if (FWindow != nullptr) DestroyWindow(FWindow);
}

HWND MakeForeignWindow(const wchar_t* Caption) {
    HWND Window = CreateWindowExW(0, L"STATIC", Caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, FormLeft + 500, FormTop, 200,
                                  150, nullptr, nullptr, ForeignModule(), nullptr);
    return Window;
}

namespace {

INT_PTR CALLBACK TestDialogProc(HWND, UINT Msg, WPARAM, LPARAM) { return Msg == WM_INITDIALOG ? TRUE : FALSE; }

}  // namespace

HWND CreateTestDialog(HINSTANCE Module, DWORD Style, short Width, short Height, const std::wstring& Caption,
                      short ButtonX) {
    std::vector<WORD> Words;
    auto Put32 = [&](DWORD Value) {
        Words.push_back(LOWORD(Value));
        Words.push_back(HIWORD(Value));
    };
    auto PutText = [&](const std::wstring& Text) {
        Words.insert(Words.end(), Text.begin(), Text.end());
        Words.push_back(0);
    };
    Put32(Style);
    Put32(0);  // extended style
    // One item at (10, 10) of the size given; no menu, the dialog class.
    Words.insert(Words.end(), {1, 10, 10, static_cast<WORD>(Width), static_cast<WORD>(Height), 0, 0});
    PutText(Caption);
    if (Words.size() % 2 != 0) Words.push_back(0);  // items start on a DWORD
    Put32(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
    Put32(0);
    // At (ButtonX, 5), 30 x 14, identifier IDOK, of the predefined button class (0xFFFF 0x0080).
    Words.insert(Words.end(), {static_cast<WORD>(ButtonX), 5, 30, 14, IDOK, 0xFFFF, 0x0080});
    PutText(L"OK");
    Words.push_back(0);  // no creation data
    return CreateDialogIndirectParamW(Module, reinterpret_cast<const DLGTEMPLATE*>(Words.data()), nullptr,
                                      TestDialogProc, 0);
}

COLORREF BitmapPixel(TBitmap& Bitmap, int32_t X, int32_t Y) {
    return static_cast<COLORREF>(skintest::PixelOf(Bitmap, X, Y));
}

RECT WindowRectOf(HWND Window) {
    RECT Rect{};
    GetWindowRect(Window, &Rect);
    return Rect;
}

SIZE ClientSizeOf(HWND Window) {
    RECT Rect{};
    GetClientRect(Window, &Rect);
    return SIZE{Rect.right, Rect.bottom};
}

bool InWindowRegion(HWND Window, int32_t X, int32_t Y) {
    HRGN Region = CreateRectRgn(0, 0, 0, 0);
    const int Kind = GetWindowRgn(Window, Region);
    const bool Inside = Kind == ERROR || PtInRegion(Region, X, Y) != FALSE;
    DeleteObject(Region);
    return Inside;
}

void TSkinFormTest::SetUp() { FreeSkinManager(); }

void TSkinFormTest::TearDown() {
    for (HWND Window : FWindows) DestroyWindow(Window);
    for (TForm* Form : FForms) FreeForm(Form);
    FWindows.clear();
    FForms.clear();
    FreeSkinManager();
    Pump();
}

TForm* TSkinFormTest::Make(int32_t ClientWidth, int32_t ClientHeight, TBorderStyle Style, TBorderIcons Icons) {
    FForms.push_back(MakeForm(ClientWidth, ClientHeight, Style, Icons));
    return FForms.back();
}

HWND TSkinFormTest::Keep(HWND Window) {
    FWindows.push_back(Window);
    return Window;
}

}  // namespace formtest
