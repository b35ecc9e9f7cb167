#include "framework/controls/ControlAtom.h"

#include <cstdio>
#include <cwchar>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

std::wstring BuildAtomString() {
    wchar_t text[64];
    const unsigned long long instance = reinterpret_cast<uintptr_t>(&__ImageBase);
    std::swprintf(text, sizeof text / sizeof text[0], L"ControlOfs%.8llX%.8lX", instance,
                  static_cast<unsigned long>(GetCurrentThreadId()));
    return text;
}

}  // namespace

const std::wstring& ControlAtomString() {
    static const std::wstring name = BuildAtomString();
    return name;
}

ATOM ControlAtom() {
    static const ATOM atom = GlobalAddAtomW(ControlAtomString().c_str());
    return atom;
}

void SetWindowControl(HWND window, TWinControl* control) {
    if (!window) return;
    if (control)
        SetPropW(window, MAKEINTATOM(ControlAtom()), reinterpret_cast<HANDLE>(control));
    else
        RemovePropW(window, MAKEINTATOM(ControlAtom()));
}

TWinControl* FindControl(HWND window) {
    if (!window || !IsWindow(window)) return nullptr;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return nullptr;
    return reinterpret_cast<TWinControl*>(GetPropW(window, MAKEINTATOM(ControlAtom())));
}
