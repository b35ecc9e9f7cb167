// ObjectInstance: window procedures bound to an object's method ("thunks"), so
// that each control or skinner gets a window procedure of its own.
//
// A thunk is a few instructions that load the address of the thunk's entry in
// a table and jump to one dispatcher. The code pages are written once, when a
// page of thunks is made, and then made execute-read only; the object and
// method of each thunk live in the separate read-write table, which is never
// executable. A stray write can therefore change which method a thunk calls,
// but never what code runs.
//
// A thunk is in one of three states: live (calls its method), forwarding (its
// owner has gone but a window may still call it: every call goes on to the
// procedure it replaced) or free. A call through a free thunk never reaches an
// object: it goes to DefWindowProc (wide or ANSI as the window is) and is
// traced. Freed thunks are reused last (first freed, first reused), so a
// stale call meets the free state for as long as possible.
#pragma once

#include "framework/win/WindowMessage.h"

// Makes a window procedure that calls method with the message of each call
// and returns its Result. The method receives the message without the window
// handle: it knows its own window. An exception that escapes the method stops
// at the thunk (never crossing the system's frames): it is traced on the
// "thunk" channel and handed to the window-procedure exception handler.
// EOSError when no executable page can be had.
WNDPROC MakeObjectInstance(TWndMethod method);

// Frees a thunk made by MakeObjectInstance (live or forwarding); nullptr is
// ignored. A pointer that is not a thunk, or a thunk already free, is refused:
// nothing changes, the refusal is traced on the "thunk" channel with its
// reason, and the answer is false. In strict mode the refusal stops the
// program instead (see SetObjectInstanceStrict).
bool FreeObjectInstance(WNDPROC instance);

// Turns a live or forwarding thunk into a pass-through: from now on every call
// goes to previous (CallWindowProcW when unicode, else CallWindowProcA) with
// the caller's window handle, and the method is never called again. For an
// owner that goes while another module still calls its thunk. The owner may
// free the thunk once nothing can call it any more. False (and traced) for a
// pointer that is not such a thunk.
bool ForwardObjectInstance(WNDPROC instance, WNDPROC previous, bool unicode);

enum class TObjectInstanceState { NotAThunk, Free, Live, Forwarding };
// What a pointer is to the thunk allocator.
TObjectInstanceState ObjectInstanceState(WNDPROC instance);
// The table entry that holds the thunk's object and method (the read-write
// memory the thunk's code refers to); nullptr for a pointer that is not a thunk.
const void* ObjectInstanceData(WNDPROC instance);

// Number of thunks not free (live or forwarding), for leak tests.
int ObjectInstanceCount();

// Strict mode: a refused free is a programming error that stops the program
// (written to standard error and the debugger first). On by default in debug
// builds, off in release builds, where the refusal is only traced.
void SetObjectInstanceStrict(bool strict);
bool ObjectInstanceStrict();

// Called inside the catch block of a thunk when its method let an exception
// escape (std::current_exception is that exception); the application object
// installs its HandleException here. Returns the previous handler.
using TWindowProcExceptionHandler = void (*)();
TWindowProcExceptionHandler SetWindowProcExceptionHandler(TWindowProcExceptionHandler handler);
