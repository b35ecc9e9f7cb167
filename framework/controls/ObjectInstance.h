// ObjectInstance.h: window procedures bound to an object's method. A thunk in
// executable memory turns a plain window-procedure call into a call of a
// TWndMethod, so each control (or skinner) gets a window procedure of its own.
#pragma once

#include "framework/rtl/Delegate.h"
#include "framework/controls/Messages.h"

using TWndMethod = TDelegate<void(TMessage&)>;

// Makes a window procedure that calls method with the message of each call and
// returns its Result. The method must not let an exception escape; one that does
// is swallowed at the thunk (exceptions never cross the system's frames).
WNDPROC MakeObjectInstance(TWndMethod method);

// Frees a window procedure made by MakeObjectInstance; nullptr is ignored.
void FreeObjectInstance(WNDPROC instance);

// Number of live object instances (for leak tests).
int ObjectInstanceCount();
