#include "framework/controls/WindowClass.h"

#include <map>
#include <string>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// Class name -> the procedure unhandled messages of its windows go to.
std::map<std::wstring, WNDPROC>& DefaultProcs() {
    static std::map<std::wstring, WNDPROC> procs;
    return procs;
}

}  // namespace

HINSTANCE FrameworkInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

WNDPROC RegisterFrameworkClass(const TWindowClassSpec& classSpec, WNDPROC initialProc) {
    auto& procs = DefaultProcs();
    if (auto found = procs.find(classSpec.ClassName); found != procs.end()) return found->second;

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    WNDPROC defaultProc = DefWindowProcW;
    if (classSpec.SystemClass) {
        if (!GetClassInfoExW(nullptr, classSpec.SystemClass, &wc)) return nullptr;
        defaultProc = wc.lpfnWndProc;
        wc.style &= ~CS_GLOBALCLASS;
    } else {
        wc.style = classSpec.Style;
        wc.hCursor = classSpec.Cursor ? classSpec.Cursor : LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = classSpec.Background;
    }
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = initialProc;
    wc.hInstance = FrameworkInstance();
    wc.lpszClassName = classSpec.ClassName;
    wc.lpszMenuName = nullptr;

    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(FrameworkInstance(), classSpec.ClassName, &existing) && !RegisterClassExW(&wc)) return nullptr;
    procs.emplace(classSpec.ClassName, defaultProc);
    return defaultProc;
}
