// PellixData: the skin data unit — the skin data component, its published
// types and default Skin3rd list, the skin elements and colour table, the
// link to the skin engine, and the text and window services the engine
// shares.
#pragma once

#include "skin/data/SkinColours.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinElements.h"
#include "skin/data/SkinEngineLink.h"
#include "skin/data/SkinServices.h"
#include "skin/data/SkinThirdParty.h"
#include "skin/data/SkinTypes.h"
