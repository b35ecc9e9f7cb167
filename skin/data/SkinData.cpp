// TSkinData: construction, published properties, the stored package,
// Loaded and the requests to the skin manager.
#include "skin/data/SkinData.h"

#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "framework/controls/HintWindow.h"
#include "framework/graphics/Canvas.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinEngineLink.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinServices.h"
#include "skin/data/SkinThirdParty.h"

QUIRN_PUBLISH(TSkinData, p) {
    p.Property("Active", &TSkinData::Active, &TSkinData::SetActive).Default(false);
    p.Property("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag).Default(DefaultDisableTag);
    p.Property("SkinControls", &TSkinData::SkinControls, &TSkinData::SetSkinControls).Default(DefaultSkinControls);
    p.Property("Options", &TSkinData::Options, &TSkinData::SetOptions).Default(DefaultSkinOptions);
    p.Property("Skin3rd", &TSkinData::Skin3rd, &TSkinData::SetSkin3rd);
    p.Property("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile);
    p.Property("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore);
    p.Property("SkinFormtype", &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype).Default(sfMainform);
    p.Property("Version", &TSkinData::Version, &TSkinData::SetVersion);
    p.Property("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate).Default(true);
    p.Property("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge).Default(false);
    p.Property("OnFormSkin", &TSkinData::OnFormSkin, &TSkinData::SetOnFormSkin);
    p.Property("OnSkinChanged", &TSkinData::OnSkinChanged, &TSkinData::SetOnSkinChanged);
    p.Property("OnSkinControl", &TSkinData::OnSkinControl, &TSkinData::SetOnSkinControl);
    p.Property("OnBeforeSkinForm", &TSkinData::OnBeforeSkinForm, &TSkinData::SetOnBeforeSkinForm);
    p.Property("OnAfterSkinForm", &TSkinData::OnAfterSkinForm, &TSkinData::SetOnAfterSkinForm);
}

namespace {

constexpr std::string_view SkinStoreNone = "(none)";
constexpr std::string_view SkinStoreGood = "(Good)";
constexpr std::string_view ComponentVersion = "5.40.07.15";
constexpr std::string_view MonthCalendarClass = "SysMonthCal32";
constexpr std::string_view FastReportPrefix = "Tfr";
constexpr int32_t HintMaxWidth = 500;

// The menu glyphs: 16 x 16 cells of a monochrome strip, white is the mask.
constexpr std::string_view MenuGlyphResource = "ONDRELMENU";
constexpr int32_t MenuGlyphSize = 16;
constexpr TColor MenuGlyphMask = clWhite;

// The non-client metrics as the caption font is read from them (the layout
// of the system versions before the padded border width).
constexpr UINT NonClientMetricsSize = 340;

}  // namespace

TSkinData::TSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      FSmallIcon(std::make_unique<TBitmap>()),
      FTitle(std::make_unique<TDataSkinTitle>("Title")),
      FButtons(std::make_unique<TDataSkinButton>("Buttons")),
      FBorderLeft(std::make_unique<TDataSkinBorder>("Left")),
      FBorderRight(std::make_unique<TDataSkinBorder>("Right")),
      FBorderTop(std::make_unique<TDataSkinBorder>("Top")),
      FBorderBottom(std::make_unique<TDataSkinBorder>("Bottom")),
      FDisableTag(DefaultDisableTag),
      FSkinControls(DefaultSkinControls),
      FOptions(DefaultSkinOptions),
      FSkin3rd(std::make_unique<TStringList>()),
      FVersion(ComponentVersion),
      FSkinStream(std::make_unique<TMemoryStream>()) {
    FSmallIcon->SetPixelFormat(pf24bit);
    for (std::string_view Line : DefaultSkin3rd) FSkin3rd->Add(Line);
    FMaxWidth = GetSystemMetrics(SM_CXMAXIMIZED);
    FMaxHeight = GetSystemMetrics(SM_CYMAXIMIZED);
    FMenuImages = new TImageList(this, MenuGlyphSize, MenuGlyphSize);
    try {
        TBitmap Glyphs;
        Glyphs.LoadFromResourceName(SkinResourceInstance(), MenuGlyphResource);
        FMenuImages->AddMasked(Glyphs, MenuGlyphMask);
    } catch (const Exception&) {
        // A module without the glyphs draws its menus without them.
    }
    FHintWindow = new THintWindow(this);
}

TSkinData::~TSkinData() {
    if (TSkinEngineLink* Engine = SkinEngine()) Engine->UnregisterSkinData(this);
}

// --- published properties -------------------------------------------------

void TSkinData::SetSkin3rd(TStrings* Value) { FSkin3rd->Assign(Value); }

std::string TSkinData::SkinStore() const {
    if (ComponentState().Contains(csDesigning) && FSkinStream->Size() > 0) return std::string(SkinStoreGood);
    return std::string(SkinStoreNone);
}

void TSkinData::SetSkinStore(std::string) {}
void TSkinData::SetVersion(std::string) {}

// --- the stored package ------------------------------------------------------

void TSkinData::DefineProperties(TFiler& Filer) {
    inherited::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "SkinStream", [this](TStream& Stream) { ReadSkinStream(Stream); },
        [this](TStream& Stream) { WriteSkinStream(Stream); }, true);
}

void TSkinData::WriteSkinStream(TStream& Stream) {
    const int32_t Size = static_cast<int32_t>(FSkinStream->Size());
    Stream.WriteBuffer(&Size, sizeof(Size));
    if (Size > 0) Stream.WriteBuffer(FSkinStream->Memory(), Size);
}

void TSkinData::ReadSkinStream(TStream& Stream) {
    int32_t Size = 0;
    Stream.ReadBuffer(&Size, sizeof(Size));
    if (Size <= 0) return;
    // The stated length cannot exceed what the property holds.
    if (Size > Stream.Size() - Stream.Position()) throw EReadError("Stream read error");
    FSkinStream->SetSize(Size);
    FSkinStream->SetPosition(0);
    Stream.ReadBuffer(FSkinStream->Memory(), Size);
    if (!ComponentState().Contains(csDesigning)) LoadSkinPackage();
}

// --- Loaded and Active ------------------------------------------------------------

void TSkinData::Loaded() {
    inherited::Loaded();
    if (ComponentState().Contains(csDesigning)) return;
    if (GetScrollBarInfoEntry == nullptr) FSkinControls.Exclude(xcScrollbar);
    // Without an engine (the skin data used on its own) the component only holds its skin.
    TSkinEngineLink* Engine = CreateSkinEngine();
    if (Engine != nullptr) Engine->RegisterSkinData(this);
    LoadCaptionFont();

    if (FSkinFormtype != sfMainform) {
        if (Engine == nullptr) return;
        Engine->AddOwnFormSkinData();
        // Skinning one form (or a DLL's forms) starts at once with the owner.
        TComponent* OwnerForm = Owner();
        if (FActive && OwnerForm != nullptr && OwnerForm->InheritsFrom(TForm::StaticClass()))
            Engine->SkinWindow(static_cast<TForm*>(OwnerForm)->Handle());
        return;
    }

    if (Engine != nullptr) Engine->InstallHook();
    if (FActive) {
        if (FSkinLoading)
            FActive = false;  // no usable skin
        else if (Engine != nullptr)
            Engine->RequestAction(this, SkinActionOn, SkinActionDelay);
    }
    if (FSkinControls.Contains(xcMainMenu))
        FSkinControls.Exclude(xcMenuItem);
    else
        FSkinControls.Exclude(xcSystemMenu);
    BuildSmallIcon();
}

void TSkinData::SetActive(bool Value) {
    if (Value == FActive) return;
    FActive = Value;
    if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csReading))
        return;
    TSkinEngineLink* Engine = SkinEngine();
    if (Engine == nullptr) return;  // not loaded yet (Loaded acts), or no engine
    switch (FSkinFormtype) {
    case sfMainform:
        if (Value) {
            if (FSkinLoading) return;
            Engine->RequestAction(this, SkinActionOn, SkinActionDelay);
            Engine->MarkRunning();
        } else {
            Engine->RequestAction(this, SkinActionOff, SkinActionDelay);
        }
        break;
    case sfOnlyThisForm:
        // Without a skin nothing is requested; a pending action of another component stays its own.
        if (Value && FSkinLoading) return;
        Engine->RequestAction(this, Value ? SkinActionOn : SkinActionOff, SkinActionDelay);
        break;
    case sfDialog:
    case sfDLL: break;
    }
}

void TSkinData::LoadCaptionFont() {
    FCaptionFont = std::make_unique<TFont>();
    NONCLIENTMETRICSA Metrics{};
    Metrics.cbSize = NonClientMetricsSize;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &Metrics, 0)) return;
    FCaptionFont->SetHandle(CreateFontIndirectA(&Metrics.lfCaptionFont));
}

void TSkinData::BuildSmallIcon() {
    const int Width = GetSystemMetrics(SM_CXSMICON);
    const int Height = GetSystemMetrics(SM_CYSMICON);
    HWND AppWindow = Application != nullptr ? Application->Handle() : nullptr;
    HICON Icon = nullptr;
    if (AppWindow != nullptr) {
        Icon = reinterpret_cast<HICON>(SendMessageW(AppWindow, WM_GETICON, ICON_SMALL, 0));
        if (Icon == nullptr) Icon = reinterpret_cast<HICON>(SendMessageW(AppWindow, WM_GETICON, ICON_BIG, 0));
    }
    if (Icon == nullptr) return;  // no icon: the small icon stays empty
    TBitmap Picture(Width, Height, pf24bit);
    Picture.Canvas().Brush().SetColor(SkinTransparentColor);
    Picture.Canvas().FillRect(RECT{0, 0, Width, Height});
    win::IconHandle Copy(static_cast<HICON>(CopyImage(Icon, IMAGE_ICON, Width, Height, LR_COPYFROMRESOURCE)));
    if (Copy) DrawIconEx(Picture.Canvas().Handle(), 0, 0, Copy.get(), Width, Height, 0, nullptr, DI_NORMAL);
    FSmallIcon->Assign(&Picture);
    FSmallIcon->SetTransparentColor(SkinTransparentColor);
    FSmallIcon->SetTransparent(true);
}

// --- services -------------------------------------------------------------------

void TSkinData::DoFormSkin(HWND Window, const std::string& ClassName, bool& DoSkin) {
    FLastWindow = Window;
    if (FOnFormSkin) {
        FOnFormSkin(this, ClassName, DoSkin);
        return;
    }
    if (ClassName == MonthCalendarClass) DoSkin = false;
    if (FSkinControls.Contains(xcFastReport) && ClassName.rfind(FastReportPrefix, 0) == 0) DoSkin = false;
}

void TSkinData::DoSkinChanged() {
    if (FOnSkinChanged) FOnSkinChanged(this);
}

void TSkinData::ShowButtonHint(const RECT& Rect, const std::string& Text) {
    if (!FOptions.Contains(xoCaptionButtonHint) || FHintShown) return;
    RECT HintRect = FHintWindow->CalcHintRect(HintMaxWidth, Text);
    OffsetRect(&HintRect, Rect.left, Rect.top);
    FHintWindow->ActivateHint(HintRect, Text);
    FHintShown = true;
}

void TSkinData::HideButtonHint() {
    if (!FHintShown) return;
    ShowWindow(FHintWindow->Handle(), SW_HIDE);
    FHintShown = false;
}
