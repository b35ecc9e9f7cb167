#include "MessageRecorder.h"

#include <cassert>
#include <deque>
#include <iomanip>
#include <mutex>
#include <sstream>

#include "DesktopState.h"
#include "framework/win/HookHandle.h"

namespace {

struct TMessageName {
    UINT Message;
    const char* Name;
};

// The messages worth a line: those that move activation, focus, capture or end a menu, and the presses
// that may do so, each with its own name. Mouse moves and paints would drown them.
#define QUIRN_NAMED(message) \
    { message, #message }
constexpr TMessageName kRecorded[] = {
    QUIRN_NAMED(WM_ACTIVATE),       QUIRN_NAMED(WM_ACTIVATEAPP),     QUIRN_NAMED(WM_NCACTIVATE),
    QUIRN_NAMED(WM_SETFOCUS),       QUIRN_NAMED(WM_KILLFOCUS),       QUIRN_NAMED(WM_CANCELMODE),
    QUIRN_NAMED(WM_CAPTURECHANGED), QUIRN_NAMED(WM_ENTERMENULOOP),   QUIRN_NAMED(WM_EXITMENULOOP),
    QUIRN_NAMED(WM_INITMENUPOPUP),  QUIRN_NAMED(WM_UNINITMENUPOPUP), QUIRN_NAMED(WM_MENUSELECT),
    QUIRN_NAMED(WM_COMMAND),        QUIRN_NAMED(WM_SYSCOMMAND),      QUIRN_NAMED(WM_SHOWWINDOW),
    QUIRN_NAMED(WM_LBUTTONDOWN),    QUIRN_NAMED(WM_LBUTTONUP),       QUIRN_NAMED(WM_RBUTTONDOWN),
    QUIRN_NAMED(WM_RBUTTONUP),      QUIRN_NAMED(WM_NCLBUTTONDOWN),   QUIRN_NAMED(WM_NCRBUTTONDOWN),
    QUIRN_NAMED(WM_KEYDOWN),        QUIRN_NAMED(WM_SYSKEYDOWN),      QUIRN_NAMED(WM_CONTEXTMENU),
    QUIRN_NAMED(WM_MOUSEWHEEL),
};
#undef QUIRN_NAMED
constexpr size_t kKeptLines = 400;

const char* NameOf(UINT message) {
    for (const TMessageName& entry : kRecorded)
        if (entry.Message == message) return entry.Name;
    return nullptr;
}

}  // namespace

// The record and the hooks that write it.
struct TMessageRecord {
    std::mutex Mutex;
    std::deque<std::string> Lines;
    DWORD Start = ::GetTickCount();
    win::HookHandle Sent;
    win::HookHandle Posted;
    win::HookHandle Filtered;
};

namespace {

// The recorder that lives now: the hooks' procedures find it here.
TMessageRecord* Active = nullptr;

void Note(const char* how, const MSG& message) {
    const char* name = NameOf(message.message);
    if (name == nullptr || Active == nullptr) return;
    std::ostringstream line;
    line << std::setw(7) << ::GetTickCount() - Active->Start << " ms " << how << ' ' << name << " to "
         << desktop_state::Describe(message.hwnd) << " w " << std::hex << message.wParam << " l " << message.lParam;
    std::lock_guard<std::mutex> lock(Active->Mutex);
    Active->Lines.push_back(line.str());
    if (Active->Lines.size() > kKeptLines) Active->Lines.pop_front();
}

LRESULT CALLBACK OnSent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        Note("sent  ", MSG{call->hwnd, call->message, call->wParam, call->lParam, 0, {}});
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK OnPosted(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) Note("posted", *reinterpret_cast<const MSG*>(lParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The system's menu loops take their input with PeekMessage and show it to this filter, not to
// WH_GETMESSAGE: only here does a press that ended a menu show.
LRESULT CALLBACK OnFiltered(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU) Note("menu  ", *reinterpret_cast<const MSG*>(lParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

MessageRecorder::MessageRecorder() : FRecord(std::make_unique<TMessageRecord>()) {
    assert(Active == nullptr && "one message recorder at a time");
    Active = FRecord.get();
    const DWORD thread = ::GetCurrentThreadId();
    FRecord->Sent = win::HookHandle(WH_CALLWNDPROC, OnSent, nullptr, thread);
    FRecord->Posted = win::HookHandle(WH_GETMESSAGE, OnPosted, nullptr, thread);
    FRecord->Filtered = win::HookHandle(WH_MSGFILTER, OnFiltered, nullptr, thread);
}

MessageRecorder::~MessageRecorder() {
    // The hooks go before the record they write to.
    FRecord->Sent.reset();
    FRecord->Posted.reset();
    FRecord->Filtered.reset();
    Active = nullptr;
}

std::string MessageRecorder::Describe(size_t limit) const {
    std::lock_guard<std::mutex> lock(FRecord->Mutex);
    std::string text;
    const size_t first = FRecord->Lines.size() > limit ? FRecord->Lines.size() - limit : 0;
    for (size_t i = first; i < FRecord->Lines.size(); ++i) text += "  " + FRecord->Lines[i] + "\n";
    return text;
}
