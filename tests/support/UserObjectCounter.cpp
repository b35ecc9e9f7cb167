#include "UserObjectCounter.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <set>
#include <vector>

namespace {

// Wine's USER handles: index n is the handle 0x20 + 2n, up to 0xFFEF.
constexpr UINT_PTR kFirstUserHandle = 0x0020;
constexpr UINT_PTR kLastUserHandle = 0xFFEF;

// --- windows, by enumeration ---

struct WindowSearch {
    DWORD Process = 0;
    std::set<HWND> Found;
};

// The system's default IME window of a thread, made with its first top-level window and destroyed
// with its last.
constexpr wchar_t kImeWindowClass[] = L"IME";
constexpr int kClassNameLength = 100;

BOOL CALLBACK NoteWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search->Process) return TRUE;
    wchar_t className[kClassNameLength]{};
    ::GetClassNameW(window, className, kClassNameLength);
    if (std::wcscmp(className, kImeWindowClass) != 0) search->Found.insert(window);
    return TRUE;
}

BOOL CALLBACK NoteRoot(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

int CountWindows() {
    WindowSearch search{::GetCurrentProcessId(), {}};
    std::vector<HWND> roots;
    ::EnumWindows(NoteRoot, reinterpret_cast<LPARAM>(&roots));
    for (HWND message = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); message;
         message = ::FindWindowExW(HWND_MESSAGE, message, nullptr, nullptr))
        roots.push_back(message);
    for (HWND root : roots) {
        NoteWindow(root, reinterpret_cast<LPARAM>(&search));
        // EnumChildWindows visits the descendants at every depth.
        ::EnumChildWindows(root, NoteWindow, reinterpret_cast<LPARAM>(&search));
    }
    return int(search.Found.size());
}

// --- hooks, through counting wrappers of this program's imports ---

std::mutex HookMutex;
std::set<HHOOK>& LiveHooks() {
    static std::set<HHOOK> hooks;
    return hooks;
}

using SetHookProc = HHOOK(WINAPI*)(int, HOOKPROC, HINSTANCE, DWORD);
using UnhookProc = BOOL(WINAPI*)(HHOOK);
SetHookProc RealSetHookA = nullptr;
SetHookProc RealSetHookW = nullptr;
UnhookProc RealUnhook = nullptr;

HHOOK Noted(HHOOK hook) {
    if (hook) {
        std::lock_guard lock(HookMutex);
        LiveHooks().insert(hook);
    }
    return hook;
}

HHOOK WINAPI CountingSetHookA(int kind, HOOKPROC proc, HINSTANCE module, DWORD thread) {
    return Noted(RealSetHookA(kind, proc, module, thread));
}
HHOOK WINAPI CountingSetHookW(int kind, HOOKPROC proc, HINSTANCE module, DWORD thread) {
    return Noted(RealSetHookW(kind, proc, module, thread));
}
BOOL WINAPI CountingUnhook(HHOOK hook) {
    const BOOL removed = RealUnhook(hook);
    if (removed) {
        std::lock_guard lock(HookMutex);
        LiveHooks().erase(hook);
    }
    return removed;
}

// An entry of user32 by name; GetProcAddress gives a generic function pointer, the entry's type is known.
template <class Proc>
Proc User32Entry(const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

// Replaces every import slot of this program that holds real by replacement.
void Reroute(void* real, void* replacement) {
    auto* base = reinterpret_cast<uint8_t*>(::GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return;
    for (auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk); slot->u1.Function;
             ++slot) {
            if (reinterpret_cast<void*>(slot->u1.Function) != real) continue;
            DWORD protection = 0;
            ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
        }
    }
}

void RouteHooksThroughCounters() {
    static std::once_flag once;
    std::call_once(once, [] {
        RealSetHookA = User32Entry<SetHookProc>("SetWindowsHookExA");
        RealSetHookW = User32Entry<SetHookProc>("SetWindowsHookExW");
        RealUnhook = User32Entry<UnhookProc>("UnhookWindowsHookEx");
        Reroute(reinterpret_cast<void*>(RealSetHookA), reinterpret_cast<void*>(&CountingSetHookA));
        Reroute(reinterpret_cast<void*>(RealSetHookW), reinterpret_cast<void*>(&CountingSetHookW));
        Reroute(reinterpret_cast<void*>(RealUnhook), reinterpret_cast<void*>(&CountingUnhook));
    });
}

int CountHooks() {
    std::lock_guard lock(HookMutex);
    return int(LiveHooks().size());
}

// --- menus, cursors and icons, accelerator tables: probing the handle table ---

// user32's undocumented GetCursorFrameInfo answers the cursor or icon itself for a live one, without
// drawing or copying anything.
using CursorFrameInfoProc = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);

void ProbeHandleTable(UserObjectCounts& counts) {
    static const auto cursorFrameInfo = User32Entry<CursorFrameInfoProc>("GetCursorFrameInfo");
    for (UINT_PTR value = kFirstUserHandle; value <= kLastUserHandle; value += 2) {
        void* handle = reinterpret_cast<void*>(value);
        if (::IsMenu(static_cast<HMENU>(handle))) {
            ++counts.Menus;
            continue;
        }
        DWORD rate = 0, steps = 0;
        if (cursorFrameInfo && cursorFrameInfo(static_cast<HCURSOR>(handle), 0, 0, &rate, &steps)) {
            ++counts.CursorsAndIcons;
            continue;
        }
        if (::CopyAcceleratorTableW(static_cast<HACCEL>(handle), nullptr, 0) > 0) ++counts.AcceleratorTables;
    }
}

}  // namespace

UserObjectCounts CountUserObjects() {
    RouteHooksThroughCounters();
    UserObjectCounts counts;
    counts.Windows = CountWindows();
    counts.Hooks = CountHooks();
    ProbeHandleTable(counts);
    if (counts.Menus + counts.CursorsAndIcons + counts.AcceleratorTables == 0) {
        // Windows: handles carry generation bits and probing finds nothing; the rest of the total.
        const int total = int(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));
        counts.CursorsAndIcons = std::max(0, total - counts.Windows - counts.Hooks);
    }
    return counts;
}
