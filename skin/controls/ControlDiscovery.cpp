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
void Mapping(TPellixForm& Skinner, Step&& Run) {
    if (Skinner.FSkinData == nullptr) return;
    try {
        TControlMapping Map(Skinner);
        Run(Map);
    } catch (const Exception& Error) {
        QUIRN_TRACE(TTraceChannel::Control, "control mapping stopped: ", Error.Message());
    }
}

void DiscoverForm(TPellixForm& Skinner, TCustomForm& Form) {
    Mapping(Skinner, [&](TControlMapping& Map) { Map.DiscoverForm(Form); });
}

void MapWindow(TPellixForm& Skinner, HWND Window) {
    Mapping(Skinner, [&](TControlMapping& Map) { Map.MapWindow(Window); });
}

// A scrolling control made a new window: its old skinner goes and a fresh one (of the same variant)
// takes the control over.
void Rescroll(TPellixForm& Skinner, TSkinControlLink& Old) {
    auto* OldSkin = dynamic_cast<TSkinScrollbar*>(&Old);
    if (OldSkin == nullptr) return;
    auto* Control = ObjectAs<TWinControl>(OldSkin->Owner());
    const int32_t Kind = OldSkin->FKind;
    Skinner.RemoveControlSkin(OldSkin);
    delete OldSkin;
    if (Control == nullptr) return;
    Mapping(Skinner, [&](TControlMapping& Map) { Map.SkinScrolling(Control, Kind); });
}

// Installed before main runs; the engine's library is linked whole, so this object always comes.
const TControlDiscovery Previous = SetControlDiscovery(TControlDiscovery{DiscoverForm, MapWindow, Rescroll});

}  // namespace
