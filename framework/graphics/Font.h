// TFont: a text font described by name, height, colour, style and character set; owns the HFONT made
// from those properties and tells its user (a canvas, a control) about every change. Publishes Charset,
// Color, Height, Name, Pitch, Size and Style.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/graphics/Color.h"
#include "framework/graphics/FontCharset.h"
#include "framework/core/TypeInfo.h"
#include "framework/graphics/GraphicsObject.h"
#include "framework/rtl/Sets.h"
#include "framework/win/GdiObject.h"

// Emphasis a font may combine (TFontStyles is the set).
enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
QUIRN_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;

// Whether the font is chosen proportional, fixed-width, or as the face has it.
enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
QUIRN_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)

// The font of a control or canvas. Owns its HFONT, remade after each change (OnChange tells the
// user, which reselects it); copy fonts with Assign, never share the handle beyond the next change.
class TFont : public TGraphicsObject {
    QUIRN_CLASS(TFont, TGraphicsObject)
public:
    static constexpr const char* kDefaultName = "MS Sans Serif";
    static constexpr int32_t kDefaultSize = 8;

    TFont();
    ~TFont() override;

    void Assign(const TPersistent* source) override;

    // Face name in the ANSI code page.
    const std::string& Name() const { return FName; }
    void SetName(const std::string& value);
    // Height in pixels; negative values give the character height, positive the cell height.
    int32_t Height() const { return FHeight; }
    void SetHeight(int32_t value);
    // Size in points, derived from Height at the screen's pixels per inch.
    int32_t Size() const;
    void SetSize(int32_t value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    int32_t PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int32_t value);

    // The HFONT for the current properties, made on first use; owned by the font.
    HFONT Handle();
    // Takes ownership of a font handle and reads the properties back from it.
    void SetHandle(HFONT handle);
    bool HandleAllocated() const override { return static_cast<bool>(FHandle); }

    // The LOGFONT the handle is made from.
    LOGFONTW LogFont() const;

protected:
    HGDIOBJ DetachHandle() override { return FHandle.release(); }

private:
    std::string FName = kDefaultName;
    int32_t FHeight = 0;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    int32_t FPixelsPerInch = 96;
    win::FontHandle FHandle;
};

// The screen's pixels per inch (vertical), read once.
int32_t ScreenPixelsPerInch();
