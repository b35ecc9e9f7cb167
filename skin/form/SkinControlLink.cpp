// The control discovery installed by the control-skinner layer.
#include "skin/form/SkinControlLink.h"

namespace {

constinit TControlDiscovery InstalledDiscovery{};

}  // namespace

TControlDiscovery SetControlDiscovery(TControlDiscovery discovery) {
    const TControlDiscovery previous = InstalledDiscovery;
    InstalledDiscovery = discovery;
    return previous;
}

const TControlDiscovery& ControlDiscovery() { return InstalledDiscovery; }
