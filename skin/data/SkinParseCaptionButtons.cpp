// Caption buttons: one element per section whose name begins with "BUTTON"
// (the button sections of other elements excepted), then the three buttons
// of a maximized MDI child cut from section "MDICONTROLS".
#include <algorithm>

#include "framework/rtl/SysUtils.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinData.h"
#include "framework/graphics/Canvas.h"

namespace {

constexpr std::string_view CaptionButtonPrefix = "BUTTON";
// Sections of other elements whose names also begin with "BUTTON".
constexpr std::string_view NotCaptionButtons[] = {"BUTTONS", "BUTTON.RADIO", "BUTTON.CHECKBOX", "BUTTON"};

constexpr int32_t ActionNone = -1;  // a button without a built-in action
constexpr int32_t ActionMaximize = 1;
constexpr int32_t ActionRestore = 4;     // shares the maximize button's place
constexpr int32_t ActionWindowIcon = 3;  // shows the window icon
constexpr int32_t ActionWindowIconAlt = 11;
constexpr int32_t VisibilityWhenMaximizable = 2;
constexpr int32_t VisibilityUnset = -1;

// A frame count of 0 is derived from the image: up to a width-to-height
// ratio of 3.8 the image holds 3 frames, above it 6. Compared in integers
// (width x 10 against height x 38) so the limit is exact.
constexpr int64_t RatioScale = 10;
constexpr int64_t ThreeFrameMaxRatioScaled = 38;
constexpr int32_t ThreeFrames = 3;
constexpr int32_t SixFrames = 6;

// The three buttons of a maximized MDI child.
constexpr std::string_view MDIControlsSection = "MDICONTROLS";
constexpr int32_t MDIButtonCount = 3;
constexpr int32_t MDIFirstAction = 7;      // 7 minimize, 8 restore, 9 close
constexpr int32_t MDIButtonSetting = 100;  // Align, Visibility, Visibility1
constexpr int32_t MDIButtonFrames = 4;
constexpr int32_t MDIImageCells = MDIButtonCount * MDIButtonFrames;
constexpr int32_t MDIButtonGap = 4;

bool IsOtherElementSection(const std::string& upperName) {
    return std::find(std::begin(NotCaptionButtons), std::end(NotCaptionButtons), upperName) !=
           std::end(NotCaptionButtons);
}

}  // namespace

void TSkinData::ReadCaptionButtons() {
    FCaptionButtons.clear();

    // Only the sections named "Button..." are visited, through the INI's name
    // index; the first MaxCaptionButtons of them that make buttons are kept.
    std::vector<std::string> kept;
    for (const std::string& section : FIni->SectionsStartingWith(CaptionButtonPrefix)) {
        if (kept.size() == MaxCaptionButtons) break;
        std::string name = UpperCase(section);
        if (IsOtherElementSection(name)) continue;
        // A button without action is kept only when it is made visible on purpose.
        const int32_t action = FIni->ReadInteger(name, "Action", 0);
        const int32_t visibility = FIni->ReadInteger(name, "Visibility", VisibilityUnset);
        if (action == ActionNone && visibility != 0) continue;
        kept.push_back(std::move(name));
    }

    FCaptionButtons.reserve(kept.size() + MDIButtonCount);
    bool haveSharedPlace = false;
    int32_t sharedX = 0;
    int32_t sharedY = 0;
    for (const std::string& name : kept) {
        auto button = std::make_unique<TDataSkinSysButton>(name);
        button->Action = FIni->ReadInteger(name, "Action", 0);
        button->Align = FIni->ReadInteger(name, "Align", 0);
        button->XCoord = FIni->ReadInteger(name, "Xcoord", 0);
        button->YCoord = FIni->ReadInteger(name, "Ycoord", 0);
        button->Visibility = FIni->ReadInteger(name, "Visibility", 0);
        button->Visibility1 = FIni->ReadInteger(name, "Visibility1", button->Action == ActionNone ? -1 : 0);

        // The restore button takes the place of the maximize button before it.
        // Without such a button before it, it keeps its own coordinates.
        if (button->Action == ActionMaximize && button->Visibility == VisibilityWhenMaximizable) {
            haveSharedPlace = true;
            sharedX = button->XCoord;
            sharedY = button->YCoord;
        } else if (button->Action == ActionRestore && haveSharedPlace) {
            button->XCoord = sharedX;
            button->YCoord = sharedY;
        }

        button->CombineOp = FIni->ReadInteger(name, "CombineOp", -1);
        button->Frame = FIni->ReadInteger(name, "frame", 0);
        LoadSkinBitmap(*button->Bitmap, FIni->ReadString(name, "ButtonImage", ""));

        // No frame count given (a negative one is no count either): derive it.
        if (button->Frame <= 0) {
            button->Frame = SixFrames;
            const TBitmap& image = *button->Bitmap;
            if (!image.Empty() && image.Height() > 0) {
                const bool narrow =
                    int64_t{image.Width()} * RatioScale <= int64_t{image.Height()} * ThreeFrameMaxRatioScaled;
                button->Frame = narrow ? ThreeFrames : SixFrames;
            }
            if (button->Action < 0) button->Frame = SixFrames;
            if (button->Action == ActionWindowIcon || button->Action == ActionWindowIconAlt)
                button->Bitmap->Assign(nullptr);
        }
        FCaptionButtons.push_back(std::move(button));
    }

    for (int32_t i = 0; i < MDIButtonCount; ++i) {
        auto button = std::make_unique<TDataSkinSysButton>(std::string(MDIControlsSection));
        button->Action = MDIFirstAction + i;
        button->Align = MDIButtonSetting;
        button->Visibility = MDIButtonSetting;
        button->Visibility1 = MDIButtonSetting;
        button->Frame = MDIButtonFrames;
        FCaptionButtons.push_back(std::move(button));
    }
    ReadMDIButtons();
}

void TSkinData::ReadMDIButtons() {
    TBitmap image;
    LoadSkinBitmap(image, FIni->ReadString(MDIControlsSection, "Image", ""));
    if (image.Empty()) return;
    const int32_t cell = image.Width() / MDIImageCells;
    const int32_t buttonWidth = cell * MDIButtonFrames;
    const int32_t height = image.Height();
    const size_t first = FCaptionButtons.size() - MDIButtonCount;
    for (int32_t i = 0; i < MDIButtonCount; ++i) {
        TDataSkinSysButton& button = *FCaptionButtons[first + static_cast<size_t>(i)];
        if (buttonWidth > 0) {
            button.Bitmap->SetPixelFormat(pf24bit);
            button.Bitmap->SetSize(buttonWidth, height);
            const RECT source{buttonWidth * i, 0, buttonWidth * i + buttonWidth, height};
            const RECT target{0, 0, buttonWidth, height};
            button.Bitmap->Canvas().CopyRect(target, image.Canvas(), source);
        }
        button.XCoord = (cell + MDIButtonGap) * (MDIButtonCount - i);
    }
}
