// PellixForm: the form-skinning unit — the skin manager with its hook, the form skinner with its
// frame painting, caption buttons and window procedure, and the links to the control skinners,
// the menu bar and the popup menus.
#pragma once

#include "skin/form/NCObject.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/PellixPopMenu.h"
#include "skin/form/SkinControlLink.h"
#include "skin/form/SkinFormConstants.h"
#include "skin/form/SkinManage.h"
#include "skin/form/SkinMenuBarLink.h"
#include "skin/form/WindowSubclass.h"
