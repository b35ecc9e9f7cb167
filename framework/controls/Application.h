// Application.h: TApplication, the process's application object: its own
// (task-bar) top-level window with the title, the forms it creates and owns,
// the message loop, mouse-enter/leave and hint tracking, and the last-resort
// handling of exceptions (shown, and the program goes on).
#pragma once

#include "framework/controls/WinApi.h"

#include <exception>
#include <memory>
#include <string>

#include "framework/controls/ControlTypes.h"
#include "framework/controls/CustomApplication.h"
#include "framework/controls/Form.h"
#include "framework/win/WindowSubclass.h"

class THintWindow;
class TControl;

// OnException receives every exception a handler let escape; OnIdle runs
// when the queue is empty (leave done true to wait for the next message).
using TExceptionEvent = TDelegate<void(TObject* sender, const std::exception& error)>;
using TIdleEvent = TDelegate<void(TObject* sender, bool& done)>;

// The process's one application object (the global Application, made at
// start-up and freed at exit). It owns the forms CreateForm makes and frees
// them newest first at exit; its own hidden top-level window owns the forms'
// windows and carries the task-bar button.
class TApplication : public TCustomApplication {
    QUIRN_CLASS(TApplication, TCustomApplication)
public:
    static constexpr uint32_t kDefaultHintPause = 500;
    static constexpr uint32_t kDefaultHintHidePause = 2500;

    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Prepares the common controls and the application window; call once
    // before creating forms.
    void Initialize();
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value);
    // The application's own top-level window (class "TApplication"), which
    // owns the forms and carries the task-bar button.
    HWND Handle() const override { return FHandle; }
    // The program icon (resource "MAINICON"), or the system's default.
    HICON IconHandle() const override { return FIcon; }

    // Creates a form of class T owned by the application, stores it in
    // reference (before the form resource is read, so OnCreate sees it), and
    // reads its form resource. The first form created is the main form.
    template <class T>
    void CreateForm(T*& reference) {
        T* form = new T(this);
        reference = form;
        try {
            if (!FMainForm) FMainForm = form;
            form->InitializeForm();
        } catch (...) {
            if (FMainForm == form) FMainForm = nullptr;
            reference = nullptr;
            form->BeforeDestruction();
            delete form;
            throw;
        }
    }
    TCustomForm* MainForm() const override { return FMainForm; }

    // Shows the main form and handles messages until Terminate or the end of
    // the main form.
    void Run();
    // Posts the quit message; Run returns once the loop sees it.
    void Terminate() override;
    bool Terminated() const { return FTerminated; }
    // Handles every message now waiting, then returns.
    void ProcessMessages();
    // Handles one message, or waits for one when none is waiting.
    void HandleMessage();

    // Reports the exception being handled (call from a catch block): through
    // OnException when assigned, otherwise in a message box.
    void HandleException(TObject* sender) override;
    void ShowException(const std::exception& error);
    TExceptionEvent OnException() const { return FOnException; }
    void SetOnException(TExceptionEvent value) { FOnException = value; }
    TIdleEvent OnIdle() const { return FOnIdle; }
    void SetOnIdle(TIdleEvent value) { FOnIdle = value; }

    // Hints: a control's Hint appears HintPause ms after the mouse rests on
    // it and goes after HintHidePause ms, a click or a key.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    uint32_t HintPause() const { return FHintPause; }
    void SetHintPause(uint32_t value) { FHintPause = value; }
    uint32_t HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(uint32_t value) { FHintHidePause = value; }
    void CancelHint();
    // Shows the pending control's hint below cursorPos (screen coordinates).
    void ActivateHint(POINT cursorPos);
    THintWindow* HintWindow() const { return FHintWindow.get(); }
    // The control under the mouse as last seen (mouse enter/leave tracking).
    TControl* MouseControl() const { return FMouseControl; }

    // Called by forms and controls as they go, so no stale pointer is kept.
    void FormDestroyed(TCustomForm* form) override;
    void ControlDestroyed(TControl* control) override;
    // Frees the application's forms (each told first); runs once, at exit.
    void DestroyForms();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool ProcessMessage(MSG& message);
    bool IsKeyMsg(MSG& message);
    bool IsHintMsg(const MSG& message);
    void Idle();
    void DoMouseIdle();
    void CreateHandle();
    void WndProc(TMessage& message);

    HWND FHandle = nullptr;
    win::WindowSubclass FSubclass;  // the window's messages go to WndProc
    HICON FIcon = nullptr;
    std::string FTitle;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FRunning = false;
    TExceptionEvent FOnException;
    TIdleEvent FOnIdle;

    bool FShowHint = true;
    uint32_t FHintPause = kDefaultHintPause;
    uint32_t FHintHidePause = kDefaultHintHidePause;
    std::unique_ptr<THintWindow> FHintWindow;
    TControl* FMouseControl = nullptr;
    TControl* FHintControl = nullptr;
    bool FHintActive = false;
};

// The one application object of the process (created at start-up).
extern TApplication* Application;
