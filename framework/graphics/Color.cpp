#include "framework/graphics/Color.h"

#include <windows.h>

namespace {
constexpr uint32_t kSystemColorIndexMask = 0xFF;

// The portable system colour constants (Color.h) must carry the system's colour indices.
static_assert(clScrollBar == SystemColor(COLOR_SCROLLBAR) && clBackground == SystemColor(COLOR_BACKGROUND) &&
              clActiveCaption == SystemColor(COLOR_ACTIVECAPTION) &&
              clInactiveCaption == SystemColor(COLOR_INACTIVECAPTION) && clMenu == SystemColor(COLOR_MENU) &&
              clWindow == SystemColor(COLOR_WINDOW) && clWindowFrame == SystemColor(COLOR_WINDOWFRAME) &&
              clMenuText == SystemColor(COLOR_MENUTEXT) && clWindowText == SystemColor(COLOR_WINDOWTEXT) &&
              clCaptionText == SystemColor(COLOR_CAPTIONTEXT) && clActiveBorder == SystemColor(COLOR_ACTIVEBORDER) &&
              clInactiveBorder == SystemColor(COLOR_INACTIVEBORDER) &&
              clAppWorkSpace == SystemColor(COLOR_APPWORKSPACE) && clHighlight == SystemColor(COLOR_HIGHLIGHT) &&
              clHighlightText == SystemColor(COLOR_HIGHLIGHTTEXT) && clBtnFace == SystemColor(COLOR_BTNFACE) &&
              clBtnShadow == SystemColor(COLOR_BTNSHADOW) && clGrayText == SystemColor(COLOR_GRAYTEXT) &&
              clBtnText == SystemColor(COLOR_BTNTEXT) &&
              clInactiveCaptionText == SystemColor(COLOR_INACTIVECAPTIONTEXT) &&
              clBtnHighlight == SystemColor(COLOR_BTNHIGHLIGHT) && cl3DDkShadow == SystemColor(COLOR_3DDKSHADOW) &&
              cl3DLight == SystemColor(COLOR_3DLIGHT) && clInfoText == SystemColor(COLOR_INFOTEXT) &&
              clInfoBk == SystemColor(COLOR_INFOBK) && clHotLight == SystemColor(COLOR_HOTLIGHT) &&
              clGradientActiveCaption == SystemColor(COLOR_GRADIENTACTIVECAPTION) &&
              clGradientInactiveCaption == SystemColor(COLOR_GRADIENTINACTIVECAPTION) &&
              clMenuHighlight == SystemColor(COLOR_MENUHILIGHT) && clMenuBar == SystemColor(COLOR_MENUBAR));
}  // namespace

TColor ColorToRGB(TColor color) {
    // Every negative colour is a system colour reference (the top byte is 0xFF for the constants).
    if (color < 0) return static_cast<TColor>(::GetSysColor(int(uint32_t(color) & kSystemColorIndexMask)));
    return color;
}
