// WindowProcSubclass.h: TWindowProcSubclass, the owner of one replacement of
// a control's WindowProc.
#pragma once

#include "framework/win/WindowMessage.h"

class TControl;

// Puts a handler in front of a control's WindowProc and takes it out again.
// Installing keeps the WindowProc it replaces; the handler passes every
// message it does not handle on through CallPrevious.
//
// Taking it out (Restore, or the destructor) gives the control back the kept
// WindowProc when this one's is still current. When another replacement has
// come since:
//  - if it is a TWindowProcSubclass that keeps this one as its previous, it is
//    given this one's previous in its place (taken out of the middle);
//  - otherwise (code that set WindowProc itself holds this one) the refusal is
//    traced on the "subclass" channel and a pass-through to the previous
//    WindowProc stays in the chain, so that code's calls still arrive. Such a
//    pass-through goes with the control, or at a later install or restore
//    once it is current again or another TWindowProcSubclass keeps it.
// Either way the handler is never called again after Restore returns, and a
// control that goes first leaves its subclasses empty-handed but safe.
// Controls live on their GUI thread; so do these. Move-only.
class TWindowProcSubclass {
public:
    TWindowProcSubclass() noexcept = default;
    // Installs handler in front of control's WindowProc; EInvalidOperation
    // without a control or handler.
    TWindowProcSubclass(TControl* control, TWndMethod handler);
    TWindowProcSubclass(const TWindowProcSubclass&) = delete;
    TWindowProcSubclass& operator=(const TWindowProcSubclass&) = delete;
    TWindowProcSubclass(TWindowProcSubclass&& other) noexcept;
    TWindowProcSubclass& operator=(TWindowProcSubclass&& other) noexcept;
    ~TWindowProcSubclass() { Restore(); }

    explicit operator bool() const noexcept { return FLink != nullptr; }
    // The control, or nullptr when empty or once the control has gone.
    TControl* Control() const noexcept;
    // Passes a message on to the WindowProc this one replaced (nothing once
    // the control has gone).
    void CallPrevious(TMessage& message) const;
    // Whether this one's WindowProc is the control's current one.
    bool IsCurrent() const noexcept;
    // Takes the handler out (see the class comment). True when the chain no
    // longer holds this one; false when a pass-through had to stay. Empty afterwards.
    bool Restore() noexcept;

    class TLink;

private:
    TLink* FLink = nullptr;
};

// Pass-throughs left in chains and not yet reclaimed (see TWindowProcSubclass).
int RetiredWindowProcCount() noexcept;
