// The control discovery installed by the control-skinner layer.
#include "skin/form/SkinControlLink.h"

namespace {

constinit TControlDiscovery InstalledDiscovery{};

}  // namespace

TControlDiscovery SetControlDiscovery(TControlDiscovery Discovery) {
    const TControlDiscovery Previous = InstalledDiscovery;
    InstalledDiscovery = Discovery;
    return Previous;
}

const TControlDiscovery& ControlDiscovery() { return InstalledDiscovery; }
