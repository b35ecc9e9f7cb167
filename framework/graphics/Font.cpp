#include "framework/graphics/Font.h"

#include <cwchar>
#include <iterator>
#include <optional>
#include <string_view>

#include "framework/core/Publisher.h"
#include "framework/graphics/AnsiText.h"
#include "framework/win/DeviceContext.h"

QUIRN_PUBLISH(TFont, p) {
    p.Property("Charset", &TFont::Charset, &TFont::SetCharset).Identifiers(CharsetIdents).Default(DEFAULT_CHARSET);
    p.Property("Color", &TFont::Color, &TFont::SetColor).Identifiers(ColorIdents).Default(clWindowText);
    p.Property("Height", &TFont::Height, &TFont::SetHeight);
    p.Property("Name", &TFont::Name, &TFont::SetName);
    p.Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
    // Size follows Height, which is stored.
    p.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
    p.Property("Style", &TFont::Style, &TFont::SetStyle);
}

namespace {
constexpr int32_t kPointsPerInch = 72;

// The portable charset table (FontCharset.h) must name exactly the system's values.
constexpr bool CharsetIdentIs(std::string_view name, int value) {
    const std::optional<int64_t> found = IdentToInt(name, CharsetIdents);
    return found.has_value() && *found == value;
}
#define QUIRN_CHECK_CHARSET(charset) \
    static_assert(CharsetIdentIs(#charset, charset), #charset " differs from the system's value")
QUIRN_CHECK_CHARSET(ANSI_CHARSET);
QUIRN_CHECK_CHARSET(DEFAULT_CHARSET);
QUIRN_CHECK_CHARSET(SYMBOL_CHARSET);
QUIRN_CHECK_CHARSET(MAC_CHARSET);
QUIRN_CHECK_CHARSET(SHIFTJIS_CHARSET);
QUIRN_CHECK_CHARSET(HANGEUL_CHARSET);
QUIRN_CHECK_CHARSET(HANGUL_CHARSET);
QUIRN_CHECK_CHARSET(JOHAB_CHARSET);
QUIRN_CHECK_CHARSET(GB2312_CHARSET);
QUIRN_CHECK_CHARSET(CHINESEBIG5_CHARSET);
QUIRN_CHECK_CHARSET(GREEK_CHARSET);
QUIRN_CHECK_CHARSET(TURKISH_CHARSET);
QUIRN_CHECK_CHARSET(VIETNAMESE_CHARSET);
QUIRN_CHECK_CHARSET(HEBREW_CHARSET);
QUIRN_CHECK_CHARSET(ARABIC_CHARSET);
QUIRN_CHECK_CHARSET(BALTIC_CHARSET);
QUIRN_CHECK_CHARSET(RUSSIAN_CHARSET);
QUIRN_CHECK_CHARSET(THAI_CHARSET);
QUIRN_CHECK_CHARSET(EASTEUROPE_CHARSET);
QUIRN_CHECK_CHARSET(OEM_CHARSET);
#undef QUIRN_CHECK_CHARSET
constexpr size_t kSystemCharsetNames = 20;
static_assert(std::size(CharsetIdentEntries) == kSystemCharsetNames, "every charset name is checked above");
}  // namespace

int32_t ScreenPixelsPerInch() {
    static const int32_t pixelsPerInch = [] {
        win::ScreenDC screen;
        const int value = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
        return value > 0 ? value : 96;
    }();
    return pixelsPerInch;
}

TFont::TFont() : FPixelsPerInch(ScreenPixelsPerInch()) {
    FHeight = -::MulDiv(kDefaultSize, FPixelsPerInch, kPointsPerInch);
}

TFont::~TFont() = default;

void TFont::Assign(const TPersistent* source) {
    if (const TFont* font = ObjectAs<TFont>(source)) {
        if (font == this) return;
        FName = font->FName;
        // Keep the character size when the two fonts live at different resolutions.
        FHeight = font->FPixelsPerInch == FPixelsPerInch
                      ? font->FHeight
                      : ::MulDiv(font->FHeight, FPixelsPerInch, font->FPixelsPerInch);
        FColor = font->FColor;
        FStyle = font->FStyle;
        FCharset = font->FCharset;
        FPitch = font->FPitch;
        Changed();
        return;
    }
    inherited::Assign(source);
}

void TFont::SetName(const std::string& value) {
    if (value.empty() || value == FName) return;
    FName = value;
    Changed();
}

void TFont::SetHeight(int32_t value) {
    if (value == FHeight) return;
    FHeight = value;
    Changed();
}

int32_t TFont::Size() const { return -::MulDiv(FHeight, kPointsPerInch, FPixelsPerInch); }

void TFont::SetSize(int32_t value) { SetHeight(-::MulDiv(value, FPixelsPerInch, kPointsPerInch)); }

void TFont::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    // The colour is not part of the HFONT, so the handle stays.
    NotifyChange();
}

void TFont::SetStyle(TFontStyles value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

void TFont::SetCharset(TFontCharset value) {
    if (value == FCharset) return;
    FCharset = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value) {
    if (value == FPitch) return;
    FPitch = value;
    Changed();
}

void TFont::SetPixelsPerInch(int32_t value) {
    if (value > 0) FPixelsPerInch = value;
}

LOGFONTW TFont::LogFont() const {
    LOGFONTW font{};
    font.lfHeight = FHeight;
    font.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = FStyle.Contains(fsItalic);
    font.lfUnderline = FStyle.Contains(fsUnderline);
    font.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    font.lfCharSet = FCharset;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = FPitch == fpVariable ? VARIABLE_PITCH : FPitch == fpFixed ? FIXED_PITCH : DEFAULT_PITCH;
    const std::wstring face = AnsiToWideText(FName);
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return font;
}

HFONT TFont::Handle() {
    if (!FHandle) {
        const LOGFONTW font = LogFont();
        FHandle.reset(::CreateFontIndirectW(&font));
    }
    return FHandle.get();
}

void TFont::SetHandle(HFONT handle) {
    if (handle && handle == FHandle.get()) return;  // already the font's own
    // Owned from here on, so that a face name the conversion rejects does not leak the font.
    win::FontHandle owned(handle);
    LOGFONTW font{};
    if (handle && ::GetObjectW(handle, sizeof(font), &font) == sizeof(font)) {
        FName = WideToAnsiText(font.lfFaceName);
        FHeight = font.lfHeight;
        TFontStyles style;
        if (font.lfWeight >= FW_BOLD) style.Include(fsBold);
        if (font.lfItalic) style.Include(fsItalic);
        if (font.lfUnderline) style.Include(fsUnderline);
        if (font.lfStrikeOut) style.Include(fsStrikeOut);
        FStyle = style;
        FCharset = font.lfCharSet;
        const int pitch = font.lfPitchAndFamily & 0x3;
        FPitch = pitch == VARIABLE_PITCH ? fpVariable : pitch == FIXED_PITCH ? fpFixed : fpDefault;
    }
    ReplaceHandle(FHandle, owned.release());
}
