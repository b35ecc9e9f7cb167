// PellixData: the skin data unit — the skin data component, its published
// types, the skin elements and colour table, and the text and window
// services the engine shares.
#pragma once

#include "skin/data/SkinColours.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinElements.h"
#include "skin/data/SkinServices.h"
#include "skin/data/SkinTypes.h"
