// CustomApplication.h: TCustomApplication, the application object as the lower files of the framework see it.
// Controls, menus, timers and forms are built before TApplication (Application.h), which derives from this
// class; they reach the process's one application object through CustomApplication and the few members here.
#pragma once

#include "framework/controls/WinApi.h"

#include "framework/core/Component.h"

class TControl;
class TCustomForm;

// What forms, controls, menus and timers ask of the application: its window (the owner of the forms'
// windows), its icon, its main form, ending the program, reporting an escaped exception, and being told
// when a form or control goes. TApplication gives the bodies.
class TCustomApplication : public TComponent {
    QUIRN_CLASS(TCustomApplication, TComponent)
public:
    // The first application object made becomes CustomApplication until it is destroyed.
    explicit TCustomApplication(TComponent* owner);
    ~TCustomApplication() override;

    // The application's own top-level window, which owns the forms' windows (nullptr before it exists).
    virtual HWND Handle() const = 0;
    // The program icon, shown by forms that have none of their own.
    virtual HICON IconHandle() const = 0;
    // The main form; closing it ends the application.
    virtual TCustomForm* MainForm() const = 0;
    // Ends the message loop.
    virtual void Terminate() = 0;
    // Reports the exception being handled (call from a catch block).
    virtual void HandleException(TObject* sender) = 0;
    // Called by forms and controls as they go, so no stale pointer is kept.
    virtual void FormDestroyed(TCustomForm* form) = 0;
    virtual void ControlDestroyed(TControl* control) = 0;
};

// The process's application object (the same object as Application), nullptr before start-up and after exit.
extern TCustomApplication* CustomApplication;

// Hands the exception being caught to the application (safe without one).
void ApplicationHandleException(TObject* sender);
