// TSkinData: construction, published properties, the stored package,
// Loaded and the requests to the skin manager.
#include "skin/data/SkinData.h"

#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "framework/controls/HintWindow.h"
#include "framework/graphics/Canvas.h"
#include "skin/data/ClassNames.h"
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
constexpr int32_t HintMaxWidth = 500;

// The menu glyphs: 16 x 16 cells of a monochrome strip, white is the mask.
constexpr std::string_view MenuGlyphResource = "ONDRELMENU";
constexpr int32_t MenuGlyphSize = 16;
constexpr TColor MenuGlyphMask = clWhite;

}  // namespace

TSkinData::TSkinData(TComponent* aOwner)
    : TComponent(aOwner),
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
    for (std::string_view line : DefaultSkin3rd) FSkin3rd->Add(line);
    FMaxWidth = GetSystemMetrics(SM_CXMAXIMIZED);
    FMaxHeight = GetSystemMetrics(SM_CYMAXIMIZED);
    FMenuImages = new TImageList(this, MenuGlyphSize, MenuGlyphSize);
    try {
        TBitmap glyphs;
        glyphs.LoadFromResourceName(SkinResourceInstance(), MenuGlyphResource);
        FMenuImages->AddMasked(glyphs, MenuGlyphMask);
    } catch (const Exception&) {
        // A module without the glyphs draws its menus without them.
    }
    FHintWindow = new THintWindow(this);
}

TSkinData::~TSkinData() {
    if (TSkinEngineLink* engine = SkinEngine()) engine->UnregisterSkinData(this);
}

// --- published properties -------------------------------------------------

void TSkinData::SetSkin3rd(TStrings* value) { FSkin3rd->Assign(value); }

std::string TSkinData::SkinStore() const {
    if (ComponentState().Contains(csDesigning) && FSkinStream->Size() > 0) return std::string(SkinStoreGood);
    return std::string(SkinStoreNone);
}

void TSkinData::SetSkinStore(std::string) {}
void TSkinData::SetVersion(std::string) {}

// --- the stored package ------------------------------------------------------

void TSkinData::DefineProperties(TFiler& filer) {
    inherited::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "SkinStream", [this](TStream& stream) { ReadSkinStream(stream); },
        [this](TStream& stream) { WriteSkinStream(stream); }, true);
}

void TSkinData::WriteSkinStream(TStream& stream) {
    const int32_t size = static_cast<int32_t>(FSkinStream->Size());
    stream.WriteBuffer(&size, sizeof(size));
    if (size > 0) stream.WriteBuffer(FSkinStream->Memory(), size);
}

void TSkinData::ReadSkinStream(TStream& stream) {
    int32_t size = 0;
    stream.ReadBuffer(&size, sizeof(size));
    if (size <= 0) return;
    // The stated length cannot exceed what the property holds.
    if (size > stream.Size() - stream.Position()) throw EReadError("Stream read error");
    FSkinStream->SetSize(size);
    FSkinStream->SetPosition(0);
    stream.ReadBuffer(FSkinStream->Memory(), size);
    if (!ComponentState().Contains(csDesigning)) LoadSkinPackage();
}

// --- Loaded and Active ------------------------------------------------------------

void TSkinData::Loaded() {
    inherited::Loaded();
    if (ComponentState().Contains(csDesigning)) return;
    if (GetScrollBarInfoEntry == nullptr) FSkinControls.Exclude(xcScrollbar);
    // Without an engine (the skin data used on its own) the component only holds its skin.
    TSkinEngineLink* engine = CreateSkinEngine();
    if (engine != nullptr) engine->RegisterSkinData(this);
    LoadCaptionFont();

    if (FSkinFormtype != sfMainform) {
        if (engine == nullptr) return;
        engine->AddOwnFormSkinData();
        // Skinning one form (or a DLL's forms) starts at once with the owner.
        TComponent* ownerForm = Owner();
        if (FActive && ownerForm != nullptr && ownerForm->InheritsFrom(TForm::StaticClass()))
            engine->SkinWindow(static_cast<TForm*>(ownerForm)->Handle());
        return;
    }

    if (engine != nullptr) engine->InstallHook();
    if (FActive) {
        if (FSkinLoading)
            FActive = false;  // no usable skin
        else if (engine != nullptr)
            engine->RequestAction(this, SkinActionOn, SkinActionDelay);
    }
    if (FSkinControls.Contains(xcMainMenu))
        FSkinControls.Exclude(xcMenuItem);
    else
        FSkinControls.Exclude(xcSystemMenu);
    BuildSmallIcon();
}

void TSkinData::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csReading))
        return;
    TSkinEngineLink* engine = SkinEngine();
    if (engine == nullptr) return;  // not loaded yet (Loaded acts), or no engine
    switch (FSkinFormtype) {
    case sfMainform:
        if (value) {
            if (FSkinLoading) return;
            engine->RequestAction(this, SkinActionOn, SkinActionDelay);
            engine->MarkRunning();
        } else {
            engine->RequestAction(this, SkinActionOff, SkinActionDelay);
        }
        break;
    case sfOnlyThisForm:
        // Without a skin nothing is requested; a pending action of another component stays its own.
        if (value && FSkinLoading) return;
        engine->RequestAction(this, value ? SkinActionOn : SkinActionOff, SkinActionDelay);
        break;
    case sfDialog:
    case sfDLL: break;
    }
}

void TSkinData::LoadCaptionFont() { FCaptionFont = CreateSystemCaptionFont(); }

void TSkinData::BuildSmallIcon() {
    HICON icon = WindowIconOf(Application != nullptr ? Application->Handle() : nullptr);
    if (icon == nullptr) return;  // no icon: the small icon stays empty
    TBitmap picture(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), pf24bit);
    PaintIconPicture(picture, icon);
    FSmallIcon->Assign(&picture);
    FSmallIcon->SetTransparentColor(SkinTransparentColor);
    FSmallIcon->SetTransparent(true);
}

// --- services -------------------------------------------------------------------

void TSkinData::DoFormSkin(HWND window, const std::string& className, bool& doSkin) {
    FLastWindow = window;
    if (FOnFormSkin) {
        FOnFormSkin(this, className, doSkin);
        return;
    }
    if (className == MonthCalendarClass) doSkin = false;
    if (FSkinControls.Contains(xcFastReport) && className.rfind(FastReportPrefix, 0) == 0) doSkin = false;
}

void TSkinData::DoSkinChanged() {
    if (FOnSkinChanged) FOnSkinChanged(this);
}

void TSkinData::ShowButtonHint(const RECT& rect, const std::string& text) {
    if (!FOptions.Contains(xoCaptionButtonHint) || FHintShown) return;
    RECT hintRect = FHintWindow->CalcHintRect(HintMaxWidth, text);
    OffsetRect(&hintRect, rect.left, rect.top);
    FHintWindow->ActivateHint(hintRect, text);
    FHintShown = true;
}

void TSkinData::HideButtonHint() {
    if (!FHintShown) return;
    ShowWindow(FHintWindow->Handle(), SW_HIDE);
    FHintShown = false;
}
