// The skin engine's registration point.
#include "skin/data/SkinEngineLink.h"

namespace {

// Constant-initialised, so an engine may install itself from any static initialiser.
constinit TSkinEngineFactory InstalledFactory{};

}  // namespace

TSkinEngineFactory SetSkinEngineFactory(TSkinEngineFactory factory) {
    const TSkinEngineFactory previous = InstalledFactory;
    InstalledFactory = factory;
    return previous;
}

TSkinEngineLink* SkinEngine() { return InstalledFactory.Find != nullptr ? InstalledFactory.Find() : nullptr; }

TSkinEngineLink* CreateSkinEngine() { return InstalledFactory.Create != nullptr ? InstalledFactory.Create() : nullptr; }
