// The control-skinner layer's discovery, installed in the form skinners when the program starts:
// each call maps on behalf of one form skinner. A failure while mapping one window leaves its
// controls with their own look; the form skinner goes on.
#include "framework/controls/Form.h"
#include "framework/controls/WinControl.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"
#include "skin/controls/ControlMapping.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinControlLink.h"

namespace {

template <class Step>
void Mapping(TPellixForm& skinner, Step&& run) {
    if (skinner.FSkinData == nullptr) return;
    try {
        TControlMapping map(skinner);
        run(map);
    } catch (const Exception& error) {
        QUIRN_TRACE(TTraceChannel::Control, "control mapping stopped: ", error.Message());
    }
}

void DiscoverForm(TPellixForm& skinner, TCustomForm& form) {
    Mapping(skinner, [&](TControlMapping& map) { map.DiscoverForm(form); });
}

void MapWindow(TPellixForm& skinner, HWND window) {
    Mapping(skinner, [&](TControlMapping& map) { map.MapWindow(window); });
}

// A scrolling control made a new window: its old skinner goes and a fresh one (of the same variant)
// takes the control over.
void Rescroll(TPellixForm& skinner, TSkinControlLink& old) {
    auto* oldSkin = dynamic_cast<TSkinScrollbar*>(&old);
    if (oldSkin == nullptr) return;
    auto* control = ObjectAs<TWinControl>(oldSkin->Owner());
    const int32_t Kind = oldSkin->FKind;
    skinner.RemoveControlSkin(oldSkin);
    delete oldSkin;
    if (control == nullptr) return;
    Mapping(skinner, [&](TControlMapping& map) { map.SkinScrolling(control, Kind); });
}

// Installed before main runs; the engine's library is linked whole, so this object always comes.
const TControlDiscovery Previous = SetControlDiscovery(TControlDiscovery{DiscoverForm, MapWindow, Rescroll});

}  // namespace
