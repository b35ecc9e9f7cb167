// WindowSubclass: owner of one replacement of a window's procedure
// (GWLP_WNDPROC) by a thunk bound to a method.
#pragma once

#include <windows.h>

#include "framework/win/WindowMessage.h"

namespace win {

struct SubclassNode;

// Puts a method in front of a window's procedure and takes it out again.
// Installing swaps GWLP_WNDPROC with the wide or the ANSI call as the window
// is (IsWindowUnicode), keeps the procedure it replaced, and every message the
// method does not handle goes there through CallPrevious.
//
// Taking it out (Restore, or the destructor) puts the previous procedure back
// only while this subclass's own thunk is still the window's procedure. When
// another module has subclassed the window since:
//  - if that module is another WindowSubclass that keeps this one's thunk as
//    its previous procedure, it is given this one's previous procedure in its
//    place and the thunk is freed (taken out of the middle of the chain);
//  - otherwise the refusal is traced (channel "subclass") and the thunk is left
//    alive as a pass-through to the previous procedure, so the other module's
//    calls still arrive where they should. Such a retired thunk is reclaimed
//    by a later subclass operation (CollectRetiredSubclasses) once the window
//    is gone, once the other module has put it back as the window's procedure
//    (then the previous procedure is restored), or once a WindowSubclass that
//    keeps it is restored.
// Either way the method is never called again after Restore returns. Restoring
// from inside the method's own call is allowed but discouraged: the thunk then
// goes while its call is still running (the dispatcher keeps what it needs).
// Move-only; an empty WindowSubclass owns nothing.
class WindowSubclass {
public:
    WindowSubclass() noexcept = default;
    // Subclasses window. EOSError when the procedure cannot be replaced (no
    // such window, another process's window) or no thunk can be made.
    WindowSubclass(HWND window, TWndMethod method);
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;
    WindowSubclass(WindowSubclass&& other) noexcept;
    WindowSubclass& operator=(WindowSubclass&& other) noexcept;
    ~WindowSubclass() { Restore(); }

    explicit operator bool() const noexcept { return FNode != nullptr; }
    HWND Window() const noexcept;
    // The thunk that is (or was) the window's procedure.
    WNDPROC Procedure() const noexcept;
    // Where unhandled messages go; changes when a subclass below this one is
    // taken out of the chain.
    WNDPROC Previous() const noexcept;
    // Installed with the wide calls (the window was a Unicode window).
    bool Unicode() const noexcept;

    // Passes a message on to the previous procedure (CallWindowProcW or A, as installed).
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;
    void CallPrevious(TMessage& message) const {
        message.Result = CallPrevious(message.Msg, message.WParam, message.LParam);
    }

    // Whether this subclass's thunk is the window's procedure now (nothing
    // has subclassed the window over it).
    bool IsCurrent() const noexcept;
    // Takes the subclass out (see the class comment). True when the chain no
    // longer holds the thunk (restored, taken out of the middle, or the window
    // is gone); false when the thunk had to stay as a pass-through because
    // another module's procedure is in front of it. Empty afterwards.
    bool Restore() noexcept;

private:
    SubclassNode* FNode = nullptr;
};

// Reclaims retired thunks that nothing can call any more (see WindowSubclass);
// every install and restore does this too.
void CollectRetiredSubclasses() noexcept;
// Thunks left as pass-throughs and not yet reclaimed.
int RetiredSubclassCount() noexcept;

}  // namespace win
