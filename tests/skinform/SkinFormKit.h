// The form skinner tests' kit: the bundled skins, forms made in code and skinned by a skin data of
// their own, a backdrop window of one colour behind them, and the skin's bitmaps read as the
// pictures a skinned frame must show.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/controls/Form.h"
#include "skin/data/PellixData.h"
#include "skin/form/PellixForm.h"

namespace formtest {

// The colour of the backdrop behind the test forms.
constexpr COLORREF BackdropColour = RGB(0, 200, 90);
// Where the test forms go on the screen.
constexpr int32_t FormLeft = 120;
constexpr int32_t FormTop = 100;

// The packed bundled skins ("DEFAULT_SKN", "GRAPHITE_SKN"), linked in as resources.
const std::vector<uint8_t>& BundledPackage(const char* ResourceName);
const std::vector<uint8_t>& DefaultPackage();
const std::vector<uint8_t>& GraphitePackage();

// A form made in code at (FormLeft, FormTop) with the client size, border style and caption
// buttons given; not shown yet.
TForm* MakeForm(int32_t ClientWidth, int32_t ClientHeight, TBorderStyle Style = bsSizeable,
                TBorderIcons Icons = TBorderIcons{biSystemMenu, biMinimize, biMaximize},
                const std::string& Caption = "Skinned");
// Frees a form made by MakeForm (its window first).
void FreeForm(TForm* Form);
// A skin data on the form holding the package, of that form type, switched on and loaded as a form
// resource would leave it.
TSkinData* AddSkinData(TComponent* Owner, const std::vector<uint8_t>& Package, TSkinFormType Type = sfMainform,
                       bool Active = true);

// The form skinner of a window, or null.
TPellixForm* SkinnerOf(HWND Window);
// Handles messages until the window has a form skinner whose attach has finished (or none any
// more, for WaitUnskinned); false after the patience.
bool WaitSkinned(HWND Window);
bool WaitUnskinned(HWND Window);
// Handles the messages waiting now.
void Pump();
// Shows the form, brings it to the front and waits until it is skinned.
bool ShowSkinned(TForm* Form);

// A window of BackdropColour covering the area behind the test forms, never activated; it belongs to
// another module, so the skin manager leaves it alone.
class TBackdrop {
public:
    TBackdrop();
    ~TBackdrop();
    TBackdrop(const TBackdrop&) = delete;
    TBackdrop& operator=(const TBackdrop&) = delete;
    HWND Handle() const { return FWindow; }

private:
    HWND FWindow = nullptr;
};

// A plain top-level window of another module (never skinned), used to take the activation away.
HWND MakeForeignWindow(const wchar_t* Caption);

// A modeless dialog of a module made from a template in memory: the given style and size (dialog
// units) and one push button (IDOK) at (ButtonX, 5); not shown yet.
HWND CreateTestDialog(HINSTANCE Module, DWORD Style, short Width, short Height, const std::wstring& Caption,
                      short ButtonX = 5);

// Pixel of a bitmap as RGB.
COLORREF BitmapPixel(TBitmap& Bitmap, int32_t X, int32_t Y);
constexpr COLORREF MagentaKey = RGB(255, 0, 255);

// The window's rectangle and size.
RECT WindowRectOf(HWND Window);
SIZE ClientSizeOf(HWND Window);
// Whether a window point (origin at the window's top-left) lies in the window's region (the whole
// window when it has none).
bool InWindowRegion(HWND Window, int32_t X, int32_t Y);

// The fixture of the form skinner tests: each test starts without a skin manager and frees the forms
// and windows it made, then the manager.
class TSkinFormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A form made by MakeForm, freed with the test.
    TForm* Make(int32_t ClientWidth = 260, int32_t ClientHeight = 160, TBorderStyle Style = bsSizeable,
                TBorderIcons Icons = TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    // A window destroyed with the test.
    HWND Keep(HWND Window);
    std::vector<TForm*> FForms;
    std::vector<HWND> FWindows;
};

}  // namespace formtest
