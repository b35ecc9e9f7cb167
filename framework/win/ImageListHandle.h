// Owning wrapper of a comctl32 image list handle.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/win/GdiObject.h"

namespace win {

// How UniqueHandle frees an image list.
struct ImageListTraits {
    using Handle = HIMAGELIST;
    static void Release(HIMAGELIST handle) noexcept { ::ImageList_Destroy(handle); }
};

using ImageListHandle = UniqueHandle<ImageListTraits>;

}  // namespace win
