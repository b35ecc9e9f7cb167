// Text measuring without a window: one memory DC compatible with the screen, shared by every caller on
// the GUI thread, into which a font is selected only for the length of one measurement.
#pragma once

#include <windows.h>

#include <string_view>

namespace win {

// The shared measuring DC (made on first use; EOSError when the system cannot make it). Whoever selects
// an object into it selects the original back before returning (SelectedObject, or a TCanvas whose
// handle is set back to nullptr).
HDC MeasuringDC();

// The rectangle DrawTextW gives the text in the font with the format (DT_CALCRECT is added), starting at
// 0,0; `width` is the line width for DT_WORDBREAK.
RECT MeasureText(HFONT font, std::wstring_view text, UINT format, LONG width = 0);

// The metrics of the font as the screen shows it.
TEXTMETRICW MeasureFont(HFONT font);

}  // namespace win
