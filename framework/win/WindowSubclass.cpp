#include "framework/win/WindowSubclass.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"
#include "framework/win/ObjectInstance.h"

namespace win {

// One thunk in a window's procedure chain. Owned by its WindowSubclass while
// installed, by the registry once retired.
struct SubclassNode {
    HWND Window;
    WNDPROC Thunk;
    WNDPROC Previous;
    bool Unicode;
    bool Retired = false;
};

namespace {

// Every node of every window, so that a node taken out of the middle of a
// chain can find the one that calls it. Never destroyed: subclasses of
// windows that live to the process's exit are restored during it.
struct Registry {
    std::mutex Lock;
    std::vector<SubclassNode*> Nodes;
};

Registry& Nodes() {
    static Registry* registry = new Registry;
    return *registry;
}

const void* Address(WNDPROC procedure) { return reinterpret_cast<const void*>(procedure); }

WNDPROC CurrentProcedure(HWND window, bool unicode) {
    return reinterpret_cast<WNDPROC>(unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                             : GetWindowLongPtrA(window, GWLP_WNDPROC));
}

// SetWindowLongPtr answers the previous value, which may be 0: failure is told by the error code.
WNDPROC SwapProcedure(HWND window, bool unicode, WNDPROC procedure, uint32_t& error) {
    SetLastError(0);
    const LONG_PTR value = reinterpret_cast<LONG_PTR>(procedure);
    const LONG_PTR previous =
        unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, value) : SetWindowLongPtrA(window, GWLP_WNDPROC, value);
    error = previous == 0 ? LastOSError() : 0;
    return reinterpret_cast<WNDPROC>(previous);
}

// The node whose thunk calls node's thunk as its previous procedure.
SubclassNode* CallerOf(const std::vector<SubclassNode*>& nodes, const SubclassNode& node) {
    for (SubclassNode* other : nodes)
        if (other != &node && other->Window == node.Window && other->Previous == node.Thunk &&
            other->Unicode == node.Unicode)
            return other;
    return nullptr;
}

void Erase(std::vector<SubclassNode*>& nodes, const SubclassNode* node) {
    nodes.erase(std::remove(nodes.begin(), nodes.end(), node), nodes.end());
}

// Takes node's thunk out of its window's chain when nothing can call it any
// more or its place can be handed on; answers whether it did. The lock is held.
bool Unchain(std::vector<SubclassNode*>& nodes, SubclassNode& node) {
    if (!IsWindow(node.Window)) {
        QUIRN_TRACE(TTraceChannel::Subclass, "window ", trace::Address(node.Window), " is gone: thunk ",
                    trace::Address(Address(node.Thunk)), " freed");
    } else if (CurrentProcedure(node.Window, node.Unicode) == node.Thunk) {
        uint32_t error = 0;
        SwapProcedure(node.Window, node.Unicode, node.Previous, error);
        if (error != 0) {
            QUIRN_TRACE(TTraceChannel::Subclass, "restoring window ", trace::Address(node.Window), ": ",
                        OSErrorText(node.Unicode ? "SetWindowLongPtrW" : "SetWindowLongPtrA", error));
            return false;
        }
        QUIRN_TRACE(TTraceChannel::Subclass, "window ", trace::Address(node.Window), " restored to ",
                    trace::Address(Address(node.Previous)), "; thunk ", trace::Address(Address(node.Thunk)), " freed");
    } else if (SubclassNode* caller = CallerOf(nodes, node)) {
        caller->Previous = node.Previous;
        if (caller->Retired) ForwardObjectInstance(caller->Thunk, caller->Previous, caller->Unicode);
        QUIRN_TRACE(TTraceChannel::Subclass, "thunk ", trace::Address(Address(node.Thunk)),
                    " taken out of the middle of window ", trace::Address(node.Window),
                    "'s chain: ", trace::Address(Address(caller->Thunk)), " now calls ",
                    trace::Address(Address(node.Previous)));
    } else {
        return false;
    }
    Erase(nodes, &node);
    FreeObjectInstance(node.Thunk);
    return true;
}

// Unchaining one retired node can make another reclaimable (it may be put
// back as the window's procedure): repeat until a pass changes nothing.
void CollectRetired(std::vector<SubclassNode*>& nodes) {
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t i = 0; i < nodes.size();) {
            SubclassNode* node = nodes[i];
            if (node->Retired && Unchain(nodes, *node)) {  // erased nodes[i]
                delete node;
                changed = true;
            } else {
                ++i;
            }
        }
    }
}

}  // namespace

WindowSubclass::WindowSubclass(HWND window, TWndMethod method) {
    const bool unicode = IsWindowUnicode(window) != FALSE;
    const char* call = unicode ? "SetWindowLongPtrW" : "SetWindowLongPtrA";
    if (!IsWindow(window)) RaiseOSError(call, ERROR_INVALID_WINDOW_HANDLE);
    const WNDPROC thunk = MakeObjectInstance(method);
    Registry& registry = Nodes();
    std::unique_lock<std::mutex> lock(registry.Lock, std::defer_lock);
    std::unique_ptr<SubclassNode> node;
    uint32_t error = 0;
    try {
        node = std::make_unique<SubclassNode>(SubclassNode{window, thunk, nullptr, unicode});
        lock.lock();
        registry.Nodes.reserve(registry.Nodes.size() + 1);
        node->Previous = SwapProcedure(window, unicode, thunk, error);
        if (error != 0) RaiseOSError(call, error);
    } catch (...) {
        FreeObjectInstance(thunk);
        throw;
    }
    registry.Nodes.push_back(node.get());
    FNode = node.release();
    QUIRN_TRACE(TTraceChannel::Subclass, "window ", trace::Address(window), " subclassed by thunk ",
                trace::Address(Address(thunk)), " in front of ", trace::Address(Address(FNode->Previous)),
                unicode ? " (wide)" : " (ANSI)");
    CollectRetired(registry.Nodes);
}

WindowSubclass::WindowSubclass(WindowSubclass&& other) noexcept : FNode(std::exchange(other.FNode, nullptr)) {}

WindowSubclass& WindowSubclass::operator=(WindowSubclass&& other) noexcept {
    if (this != &other) {
        Restore();
        FNode = std::exchange(other.FNode, nullptr);
    }
    return *this;
}

HWND WindowSubclass::Window() const noexcept { return FNode ? FNode->Window : nullptr; }
WNDPROC WindowSubclass::Procedure() const noexcept { return FNode ? FNode->Thunk : nullptr; }
WNDPROC WindowSubclass::Previous() const noexcept { return FNode ? FNode->Previous : nullptr; }
bool WindowSubclass::Unicode() const noexcept { return FNode ? FNode->Unicode : true; }

LRESULT WindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (!FNode) return 0;
    return FNode->Unicode ? CallWindowProcW(FNode->Previous, FNode->Window, msg, wParam, lParam)
                          : CallWindowProcA(FNode->Previous, FNode->Window, msg, wParam, lParam);
}

bool WindowSubclass::IsCurrent() const noexcept {
    return FNode && IsWindow(FNode->Window) && CurrentProcedure(FNode->Window, FNode->Unicode) == FNode->Thunk;
}

bool WindowSubclass::Restore() noexcept {
    if (!FNode) return true;
    SubclassNode* node = std::exchange(FNode, nullptr);
    Registry& registry = Nodes();
    std::lock_guard<std::mutex> lock(registry.Lock);
    bool unchained = Unchain(registry.Nodes, *node);
    if (unchained) {
        delete node;
    } else {
        // Another module's procedure is in front and may call the thunk: it stays, passing calls on.
        ForwardObjectInstance(node->Thunk, node->Previous, node->Unicode);
        node->Retired = true;
        QUIRN_TRACE(TTraceChannel::Subclass, "restore of window ", trace::Address(node->Window),
                    " refused: its procedure is ",
                    trace::Address(Address(CurrentProcedure(node->Window, node->Unicode))), ", not thunk ",
                    trace::Address(Address(node->Thunk)), ", which stays as a pass-through to ",
                    trace::Address(Address(node->Previous)));
    }
    CollectRetired(registry.Nodes);
    return unchained;
}

void CollectRetiredSubclasses() noexcept {
    Registry& registry = Nodes();
    std::lock_guard<std::mutex> lock(registry.Lock);
    CollectRetired(registry.Nodes);
}

int RetiredSubclassCount() noexcept {
    Registry& registry = Nodes();
    std::lock_guard<std::mutex> lock(registry.Lock);
    return static_cast<int>(std::count_if(registry.Nodes.begin(), registry.Nodes.end(),
                                          [](const SubclassNode* node) { return node->Retired; }));
}

}  // namespace win
