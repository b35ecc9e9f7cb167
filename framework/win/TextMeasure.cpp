#include "framework/win/TextMeasure.h"

#include <utility>

#include "framework/rtl/SysUtils.h"
#include "framework/win/DeviceContext.h"

namespace win {

HDC MeasuringDC() {
    // A memory DC compatible with the screen measures as the screen does; it lives as long as the process.
    static MemoryDC shared;
    if (!shared) {
        MemoryDC made;
        Win32Check(made.get(), "CreateCompatibleDC");
        shared = std::move(made);
    }
    return shared.get();
}

RECT MeasureText(HFONT font, std::wstring_view text, UINT format, LONG width) {
    HDC dc = MeasuringDC();
    const SelectedObject selected(dc, font);
    RECT rect{0, 0, width, 0};
    const wchar_t* characters = text.empty() ? L"" : text.data();
    ::DrawTextW(dc, characters, static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
    return rect;
}

TEXTMETRICW MeasureFont(HFONT font) {
    HDC dc = MeasuringDC();
    const SelectedObject selected(dc, font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    return metrics;
}

}  // namespace win
