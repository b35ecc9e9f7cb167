#include "framework/controls/WindowProcSubclass.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "framework/controls/Control.h"
#include "framework/rtl/Trace.h"

// One replacement in a control's WindowProc chain: the control's WindowProc
// (or the previous of the link above) points at Dispatch. It watches the
// control so that it never touches one that has gone.
class TWindowProcSubclass::TLink : public TComponent {
public:
    TLink(TControl* control, TWndMethod handler) : TComponent(nullptr), Control(control), Handler(handler) {}

    TWndMethod Procedure() { return TWndMethod::Of<&TLink::Dispatch>(this); }
    void Dispatch(TMessage& message) {
        if (Handler)
            Handler(message);
        else
            CallPrevious(message);
    }
    void CallPrevious(TMessage& message) const {
        if (Control && Previous) Previous(message);
    }
    std::string Describe() const {
        return Control ? Control->ClassName() + " '" + Control->Name() + "'" : std::string("a control that has gone");
    }

    TControl* Control;
    TWndMethod Handler;  // empty once retired
    TWndMethod Previous;
    bool Retired = false;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == Control) Control = nullptr;
    }
};

namespace {

using TLink = TWindowProcSubclass::TLink;

// Every link of every control (GUI thread). Never destroyed: controls freed
// during the program's exit restore their subclasses then.
std::vector<TLink*>& Links() {
    static auto* links = new std::vector<TLink*>;
    return *links;
}

// The link whose previous is link (it was installed right over it).
TLink* CallerOf(TLink& link) {
    const TWndMethod procedure = link.Procedure();
    for (TLink* other : Links())
        if (other != &link && other->Control == link.Control && other->Previous == procedure) return other;
    return nullptr;
}

// Takes link out of its control's chain when nothing can call it or its
// place can be handed on, and frees it; answers whether it did.
bool Unchain(TLink* link) {
    if (!link->Control) {
        // The control has gone, and with it every call.
    } else if (link->Control->WindowProc() == link->Procedure()) {
        link->Control->SetWindowProc(link->Previous);
        QUIRN_TRACE(TTraceChannel::Subclass, "WindowProc of ", link->Describe(), " restored");
    } else if (TLink* caller = CallerOf(*link)) {
        caller->Previous = link->Previous;
        QUIRN_TRACE(TTraceChannel::Subclass, "WindowProc handler taken out of the middle of the chain of ",
                    link->Describe());
    } else {
        return false;
    }
    auto& links = Links();
    links.erase(std::remove(links.begin(), links.end(), link), links.end());
    delete link;
    return true;
}

// Unchaining one pass-through can make another current: repeat until a pass changes nothing.
void CollectRetired() {
    auto& links = Links();
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t i = 0; i < links.size();) {
            if (links[i]->Retired && Unchain(links[i])) {  // erased links[i]
                changed = true;
            } else {
                ++i;
            }
        }
    }
}

}  // namespace

TWindowProcSubclass::TWindowProcSubclass(TControl* control, TWndMethod handler) {
    if (!control || !handler) throw EInvalidOperation("A WindowProc subclass needs a control and a handler");
    auto link = std::make_unique<TLink>(control, handler);
    auto& links = Links();
    links.reserve(links.size() + 1);
    link->FreeNotification(control);
    link->Previous = control->WindowProc();
    control->SetWindowProc(link->Procedure());
    links.push_back(link.get());
    FLink = link.release();
    QUIRN_TRACE(TTraceChannel::Subclass, "WindowProc of ", FLink->Describe(), " replaced");
    CollectRetired();
}

TWindowProcSubclass::TWindowProcSubclass(TWindowProcSubclass&& other) noexcept
    : FLink(std::exchange(other.FLink, nullptr)) {}

TWindowProcSubclass& TWindowProcSubclass::operator=(TWindowProcSubclass&& other) noexcept {
    if (this != &other) {
        Restore();
        FLink = std::exchange(other.FLink, nullptr);
    }
    return *this;
}

TControl* TWindowProcSubclass::Control() const noexcept { return FLink ? FLink->Control : nullptr; }

void TWindowProcSubclass::CallPrevious(TMessage& message) const {
    if (FLink) FLink->CallPrevious(message);
}

bool TWindowProcSubclass::IsCurrent() const noexcept {
    return FLink && FLink->Control && FLink->Control->WindowProc() == FLink->Procedure();
}

bool TWindowProcSubclass::Restore() noexcept {
    TLink* link = std::exchange(FLink, nullptr);
    if (!link) return true;
    const bool unchained = Unchain(link);
    if (!unchained) {
        // Code that set WindowProc itself holds this link: it stays, passing every call on.
        link->Handler = TWndMethod();
        link->Retired = true;
        QUIRN_TRACE(TTraceChannel::Subclass, "restore of the WindowProc of ", link->Describe(),
                    " refused: another WindowProc is in front; a pass-through stays");
    }
    CollectRetired();
    return unchained;
}

int RetiredWindowProcCount() noexcept {
    const auto& links = Links();
    return static_cast<int>(std::count_if(links.begin(), links.end(), [](const TLink* link) { return link->Retired; }));
}
