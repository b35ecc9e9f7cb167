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

bool IsOtherElementSection(const std::string& UpperName) {
    return std::find(std::begin(NotCaptionButtons), std::end(NotCaptionButtons), UpperName) !=
           std::end(NotCaptionButtons);
}

}  // namespace

void TSkinData::ReadCaptionButtons() {
    FCaptionButtons.clear();

    // Only the sections named "Button..." are visited, through the INI's name
    // index; the first MaxCaptionButtons of them that make buttons are kept.
    std::vector<std::string> Kept;
    for (const std::string& Section : FIni->SectionsStartingWith(CaptionButtonPrefix)) {
        if (Kept.size() == MaxCaptionButtons) break;
        std::string Name = UpperCase(Section);
        if (IsOtherElementSection(Name)) continue;
        // A button without action is kept only when it is made visible on purpose.
        const int32_t Action = FIni->ReadInteger(Name, "Action", 0);
        const int32_t Visibility = FIni->ReadInteger(Name, "Visibility", VisibilityUnset);
        if (Action == ActionNone && Visibility != 0) continue;
        Kept.push_back(std::move(Name));
    }

    FCaptionButtons.reserve(Kept.size() + MDIButtonCount);
    bool HaveSharedPlace = false;
    int32_t SharedX = 0;
    int32_t SharedY = 0;
    for (const std::string& Name : Kept) {
        auto Button = std::make_unique<TDataSkinSysButton>(Name);
        Button->Action = FIni->ReadInteger(Name, "Action", 0);
        Button->Align = FIni->ReadInteger(Name, "Align", 0);
        Button->XCoord = FIni->ReadInteger(Name, "Xcoord", 0);
        Button->YCoord = FIni->ReadInteger(Name, "Ycoord", 0);
        Button->Visibility = FIni->ReadInteger(Name, "Visibility", 0);
        Button->Visibility1 = FIni->ReadInteger(Name, "Visibility1", Button->Action == ActionNone ? -1 : 0);

        // The restore button takes the place of the maximize button before it.
        // Without such a button before it, it keeps its own coordinates.
        if (Button->Action == ActionMaximize && Button->Visibility == VisibilityWhenMaximizable) {
            HaveSharedPlace = true;
            SharedX = Button->XCoord;
            SharedY = Button->YCoord;
        } else if (Button->Action == ActionRestore && HaveSharedPlace) {
            Button->XCoord = SharedX;
            Button->YCoord = SharedY;
        }

        Button->CombineOp = FIni->ReadInteger(Name, "CombineOp", -1);
        Button->Frame = FIni->ReadInteger(Name, "frame", 0);
        LoadSkinBitmap(*Button->Bitmap, FIni->ReadString(Name, "ButtonImage", ""));

        // No frame count given (a negative one is no count either): derive it.
        if (Button->Frame <= 0) {
            Button->Frame = SixFrames;
            const TBitmap& Image = *Button->Bitmap;
            if (!Image.Empty() && Image.Height() > 0) {
                const bool Narrow =
                    int64_t{Image.Width()} * RatioScale <= int64_t{Image.Height()} * ThreeFrameMaxRatioScaled;
                Button->Frame = Narrow ? ThreeFrames : SixFrames;
            }
            if (Button->Action < 0) Button->Frame = SixFrames;
            if (Button->Action == ActionWindowIcon || Button->Action == ActionWindowIconAlt)
                Button->Bitmap->Assign(nullptr);
        }
        FCaptionButtons.push_back(std::move(Button));
    }

    for (int32_t I = 0; I < MDIButtonCount; ++I) {
        auto Button = std::make_unique<TDataSkinSysButton>(std::string(MDIControlsSection));
        Button->Action = MDIFirstAction + I;
        Button->Align = MDIButtonSetting;
        Button->Visibility = MDIButtonSetting;
        Button->Visibility1 = MDIButtonSetting;
        Button->Frame = MDIButtonFrames;
        FCaptionButtons.push_back(std::move(Button));
    }
    ReadMDIButtons();
}

void TSkinData::ReadMDIButtons() {
    TBitmap Image;
    LoadSkinBitmap(Image, FIni->ReadString(MDIControlsSection, "Image", ""));
    if (Image.Empty()) return;
    const int32_t Cell = Image.Width() / MDIImageCells;
    const int32_t ButtonWidth = Cell * MDIButtonFrames;
    const int32_t Height = Image.Height();
    const size_t First = FCaptionButtons.size() - MDIButtonCount;
    for (int32_t I = 0; I < MDIButtonCount; ++I) {
        TDataSkinSysButton& Button = *FCaptionButtons[First + static_cast<size_t>(I)];
        if (ButtonWidth > 0) {
            Button.Bitmap->SetPixelFormat(pf24bit);
            Button.Bitmap->SetSize(ButtonWidth, Height);
            const RECT Source{ButtonWidth * I, 0, ButtonWidth * I + ButtonWidth, Height};
            const RECT Target{0, 0, ButtonWidth, Height};
            Button.Bitmap->Canvas().CopyRect(Target, Image.Canvas(), Source);
        }
        Button.XCoord = (Cell + MDIButtonGap) * (MDIButtonCount - I);
    }
}
