// WindowMessage: the record one window message travels in through a chain of
// window procedures, and the method type that handles it.
#pragma once

#include <windows.h>

#include "framework/rtl/Delegate.h"

// One window message as it travels through a control's WindowProc chain or a
// subclassed window's procedure. The handler sets Result.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// A method that handles one message (a control's WindowProc, a skinner's procedure).
using TWndMethod = TDelegate<void(TMessage&)>;
