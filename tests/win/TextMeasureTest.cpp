// The shared measuring DC measures as the screen does, gives its font back and leaks nothing.
#include <gtest/gtest.h>

#include <string>

#include "GdiObjectCounter.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"
#include "framework/win/TextMeasure.h"

namespace {

win::FontHandle MakeFont(int height, int weight) {
    return win::FontHandle(::CreateFontW(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
}

// What DrawTextW measures on the screen's own DC.
RECT MeasureOnScreen(HFONT font, const std::wstring& text, UINT format, LONG width) {
    const win::ScreenDC screen;
    const win::SelectedObject selected(screen.get(), font);
    RECT rect{0, 0, width, 0};
    ::DrawTextW(screen.get(), text.c_str(), int(text.size()), &rect, format | DT_CALCRECT);
    return rect;
}

}  // namespace

TEST(TextMeasure, MeasuresAsTheScreenDoesForSingleLinesWrappedTextAndFontMetrics) {
    const win::FontHandle small = MakeFont(-11, FW_NORMAL);
    const win::FontHandle large = MakeFont(-24, FW_BOLD);
    const std::wstring line = L"Measure me & friends";
    const std::wstring paragraph = L"A longer text that has to break over several lines when it is narrow.";
    for (HFONT font : {small.get(), large.get()}) {
        const RECT single = win::MeasureText(font, line, DT_SINGLELINE);
        const RECT expected = MeasureOnScreen(font, line, DT_SINGLELINE, 0);
        EXPECT_TRUE(::EqualRect(&single, &expected));
        EXPECT_GT(single.right, 0);
        const RECT wrapped = win::MeasureText(font, paragraph, DT_WORDBREAK, 80);
        const RECT expectedWrapped = MeasureOnScreen(font, paragraph, DT_WORDBREAK, 80);
        EXPECT_TRUE(::EqualRect(&wrapped, &expectedWrapped));
        EXPECT_GT(wrapped.bottom, single.bottom * 2);  // several lines

        TEXTMETRICW onScreen{};
        {
            const win::ScreenDC screen;
            const win::SelectedObject selected(screen.get(), font);
            ::GetTextMetricsW(screen.get(), &onScreen);
        }
        const TEXTMETRICW measured = win::MeasureFont(font);
        EXPECT_EQ(measured.tmHeight, onScreen.tmHeight);
        EXPECT_EQ(measured.tmInternalLeading, onScreen.tmInternalLeading);
        EXPECT_EQ(measured.tmAveCharWidth, onScreen.tmAveCharWidth);
    }
    EXPECT_GT(win::MeasureFont(large.get()).tmHeight, win::MeasureFont(small.get()).tmHeight);
    // Empty text measures as nothing wide.
    EXPECT_EQ(win::MeasureText(small.get(), L"", DT_SINGLELINE).right, 0);
}

TEST(TextMeasure, TheSharedDCKeepsItsOwnFontAndMeasuringLeaksNothing) {
    HDC dc = win::MeasuringDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(win::MeasuringDC(), dc);  // one DC for every caller
    HGDIOBJ original = ::GetCurrentObject(dc, OBJ_FONT);
    win::MeasureText(MakeFont(-13, FW_NORMAL).get(), L"warm up", 0);
    const GdiObjectCounter gdi;
    for (int i = 0; i < 100; ++i) {
        const win::FontHandle font = MakeFont(-10 - i % 7, FW_NORMAL);
        win::MeasureText(font.get(), L"text " + std::to_wstring(i), DT_SINGLELINE);
        win::MeasureFont(font.get());
        // The font was selected out again, so its owner could delete it.
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), original);
    }
    EXPECT_EQ(gdi.Leaked(), GdiObjectCounts{}) << gdi.Leaked().ToString();
}
