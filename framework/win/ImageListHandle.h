// Owning wrapper of a comctl32 image list handle.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/win/GdiObject.h"

namespace win {

// An image list, destroyed when the owner goes.
using ImageListHandle = UniqueHandle<ReleasedBy<HIMAGELIST, ::ImageList_Destroy>>;

}  // namespace win
