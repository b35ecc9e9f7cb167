// PellixIni: the INI unit of the skin data - the in-memory, read-only INI
// reader a skin's definition is parsed with.
#pragma once

#include "skin/data/QuickIni.h"
