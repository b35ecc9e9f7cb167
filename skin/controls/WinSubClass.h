// WinSubClass: the control-skinner unit — the skinner base with its routines and property access,
// the control discovery and mapping, and the skinners of push buttons, edits, group boxes and
// panels, scroll bars, and status bars.
#pragma once

#include "skin/controls/ControlMapping.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinFills.h"
#include "skin/controls/SkinFrames.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinProps.h"
#include "skin/controls/SkinRoutines.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinScrollbarH.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/WScrollbar.h"
