#include "framework/controls/Application.h"

#include <commctrl.h>

#include <cstdlib>

#include "framework/controls/ControlAtom.h"
#include "framework/controls/HintWindow.h"
#include "framework/rtl/Trace.h"
#include "framework/win/ObjectInstance.h"
#include "framework/controls/Screen.h"
#include "framework/graphics/AnsiText.h"
#include "framework/controls/WindowClass.h"

QUIRN_DEFINE_CLASS(TApplication)

TApplication* Application = nullptr;

namespace {

constexpr wchar_t kApplicationClassName[] = L"TApplication";
constexpr UINT_PTR kShowHintTimer = 1;
constexpr UINT_PTR kHideHintTimer = 2;
constexpr int32_t kHintCursorOffset = 20;  // below the arrow's tip

// The application object and its screen live from start-up to exit. The
// forms go first, at exit (DestroyForms is registered when Run starts, so it
// runs before the finalisation of units that started earlier, such as a skin
// engine that must outlive the forms it skins).
struct ApplicationLifetime {
    ApplicationLifetime() {
        Application = new TApplication(nullptr);
        Screen = new TScreen(nullptr);
    }
    ~ApplicationLifetime() {
        if (Application) Application->DestroyForms();
        delete Application;
        Application = nullptr;
        delete Screen;
        Screen = nullptr;
    }
} gApplicationLifetime;

void DestroyFormsAtExit() {
    if (Application) Application->DestroyForms();
}

TControl* ControlUnderCursor(POINT screenPoint) {
    TWinControl* window = FindVCLWindow(screenPoint);
    if (!window || !window->HandleAllocated()) return nullptr;
    POINT client = screenPoint;
    ::ScreenToClient(window->Handle(), &client);
    if (TControl* child = window->ControlAtPos(client)) return child;
    return window;
}

}  // namespace

namespace {
// What a window-procedure thunk does with an exception its method let escape.
void HandleWindowProcException() { ApplicationHandleException(nullptr); }
}  // namespace

TApplication::TApplication(TComponent* owner) : TCustomApplication(owner) {
    FIcon = LoadIconW(FrameworkInstance(), L"MAINICON");
    if (!FIcon) FIcon = LoadIconW(nullptr, IDI_APPLICATION);
    SetWindowProcExceptionHandler(&HandleWindowProcException);
}

TApplication::~TApplication() {
    DestroyForms();
    FHintWindow.reset();
    FSubclass.Restore();
    if (FHandle && !DestroyWindow(FHandle))
        QUIRN_TRACE(TTraceChannel::Subclass, "application window ", trace::Address(FHandle),
                    " outlives the application: ", OSErrorText("DestroyWindow", LastOSError()));
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    CreateHandle();
}

void TApplication::CreateHandle() {
    if (FHandle) return;
    TWindowClassSpec classSpec;
    classSpec.ClassName = kApplicationClassName;
    classSpec.Style = 0;
    if (!RegisterFrameworkClass(classSpec, DefWindowProcW)) return;
    const std::wstring title = AnsiToWideText(FTitle);
    FHandle = CreateWindowExW(0, kApplicationClassName, title.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                              nullptr, FrameworkInstance(), nullptr);
    if (!FHandle) return;
    FSubclass = win::WindowSubclass(FHandle, TWndMethod(this, &TApplication::WndProc));
    SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon));
}

void TApplication::SetTitle(const std::string& value) {
    FTitle = value;
    if (FHandle) SetWindowTextW(FHandle, AnsiToWideText(value).c_str());
}

void TApplication::Run() {
    static bool exitRegistered = false;
    if (!exitRegistered) {
        exitRegistered = true;
        std::atexit(DestroyFormsAtExit);
    }
    if (!FMainForm) return;
    FRunning = true;
    if (FHandle) ShowWindow(FHandle, SW_SHOWNOACTIVATE);
    try {
        FMainForm->Show();
    } catch (...) {
        HandleException(this);
    }
    while (!FTerminated) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    }
    FRunning = false;
}

void TApplication::Terminate() {
    if (!FTerminated) PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& message) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    if (message.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    IsHintMsg(message);
    if (!IsKeyMsg(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

void TApplication::ProcessMessages() {
    MSG message;
    while (ProcessMessage(message)) {
    }
}

void TApplication::HandleMessage() {
    MSG message;
    if (!ProcessMessage(message)) Idle();
}

void TApplication::Idle() {
    DoMouseIdle();
    bool done = true;
    if (FOnIdle) FOnIdle(this, done);
    if (done && !FTerminated) WaitMessage();
}

bool TApplication::IsKeyMsg(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    HWND window = message.hwnd;
    TWinControl* control = FindControl(window);
    while (!control && window) {
        window = GetParent(window);
        control = FindControl(window);
    }
    if (!control) return false;
    return control->Perform(CN_BASE + message.message, message.wParam, message.lParam) != 0;
}

bool TApplication::IsHintMsg(const MSG& message) {
    if (!FHintActive) return false;
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_ACTIVATEAPP: CancelHint(); return false;
    default: return false;
    }
}

void TApplication::DoMouseIdle() {
    POINT cursor;
    if (!GetCursorPos(&cursor)) return;
    TControl* target = ControlUnderCursor(cursor);
    if (target == FMouseControl) return;
    TControl* previous = FMouseControl;
    FMouseControl = target;
    if (previous) previous->Perform(CM_MOUSELEAVE);
    if (target) target->Perform(CM_MOUSEENTER);
    CancelHint();
    if (target && FShowHint && target->ShowHint() && !target->Hint().empty() && FHandle) {
        FHintControl = target;
        SetTimer(FHandle, kShowHintTimer, FHintPause, nullptr);
    }
}

void TApplication::SetShowHint(bool value) {
    FShowHint = value;
    if (!value) CancelHint();
}

void TApplication::CancelHint() {
    if (FHandle) {
        KillTimer(FHandle, kShowHintTimer);
        KillTimer(FHandle, kHideHintTimer);
    }
    if (FHintWindow && FHintActive) FHintWindow->ReleaseHandle();
    FHintActive = false;
    FHintControl = nullptr;
}

void TApplication::ActivateHint(POINT cursorPos) {
    if (!FHintControl) return;
    TControl* control = FHintControl;
    if (!FHintWindow) FHintWindow = std::make_unique<THintWindow>(nullptr);
    const std::string& hint = control->Hint();
    RECT rect = FHintWindow->CalcHintRect(GetSystemMetrics(SM_CXSCREEN), hint);
    OffsetRect(&rect, cursorPos.x, cursorPos.y + kHintCursorOffset);
    FHintWindow->ActivateHint(rect, hint);
    FHintActive = true;
    FHintControl = control;
    if (FHandle) SetTimer(FHandle, kHideHintTimer, FHintHidePause, nullptr);
}

void TApplication::HandleException(TObject* sender) {
    std::exception_ptr current = std::current_exception();
    if (!current) return;
    try {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& error) {
            if (FOnException)
                FOnException(sender, error);
            else
                ShowException(error);
        } catch (...) {
            const Exception unknown("Unknown exception");
            if (FOnException)
                FOnException(sender, unknown);
            else
                ShowException(unknown);
        }
    } catch (...) {
        // A failing exception handler must not end the program either.
    }
}

void TApplication::ShowException(const std::exception& error) {
    std::wstring text = AnsiToWideText(error.what());
    if (!text.empty() && text.back() != L'.') text += L'.';
    const std::wstring title = AnsiToWideText(FTitle);
    MessageBoxW(FHandle, text.c_str(), title.c_str(), MB_OK | MB_ICONSTOP);
}

void TApplication::FormDestroyed(TCustomForm* form) {
    if (FMainForm == form) FMainForm = nullptr;
    if (FMouseControl && GetParentForm(FMouseControl) == form) FMouseControl = nullptr;
    if (FHintControl && GetParentForm(FHintControl) == form) CancelHint();
}

void TApplication::ControlDestroyed(TControl* control) {
    if (FMouseControl == control) FMouseControl = nullptr;
    if (FHintControl == control) CancelHint();
}

void TApplication::DestroyForms() {
    CancelHint();
    // Forms are freed newest first, each told before it goes.
    while (ComponentCount() > 0) {
        TComponent* component = Components(ComponentCount() - 1);
        if (auto* form = ObjectAs<TCustomForm>(component)) form->BeforeDestruction();
        delete component;
    }
    FMainForm = nullptr;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FMainForm) FMainForm = nullptr;
}

void TApplication::WndProc(TMessage& message) {
    try {
        switch (message.Msg) {
        case WM_TIMER:
            if (message.WParam == kShowHintTimer) {
                KillTimer(FHandle, kShowHintTimer);
                POINT cursor;
                GetCursorPos(&cursor);
                if (FHintControl && ControlUnderCursor(cursor) == FHintControl) ActivateHint(cursor);
            } else if (message.WParam == kHideHintTimer) {
                CancelHint();
            }
            return;
        case WM_CLOSE:
            if (FMainForm) FMainForm->Close();
            return;
        case WM_ACTIVATE:
            if (LOWORD(message.WParam) != WA_INACTIVE && FMainForm && FMainForm->HandleAllocated() &&
                IsWindowVisible(FMainForm->Handle())) {
                SetActiveWindow(FMainForm->Handle());
                return;
            }
            break;
        case WM_ENDSESSION:
            if (message.WParam) Terminate();
            return;
        default: break;
        }
        FSubclass.CallPrevious(message);
    } catch (...) {
        HandleException(this);
    }
}
