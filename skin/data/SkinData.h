// TSkinData: the non-visual component an application drops on its main form
// to skin the whole application. It holds the skin package, turns it into
// skin elements when loaded, carries the settings every skinner consults and
// switches skinning on and off through the skin manager.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Component.h"
#include "framework/rtl/Filer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/ImageList.h"
#include "framework/rtl/Strings.h"
#include "framework/win/GdiObject.h"
#include "skin/data/SkinColours.h"
#include "skin/data/SkinElements.h"
#include "skin/data/SkinTypes.h"

class TQuickIni;
class TSkinReader;

// Caption buttons a skin may define (the three buttons of a maximized MDI
// child come on top): real skins use up to eight; a skin with thousands of
// "Button" sections keeps the first ones in file order.
inline constexpr size_t MaxCaptionButtons = 32;
class TMemoryStream;
class THintWindow;

class TSkinData : public TComponent {
    QUIRN_CLASS(TSkinData, TComponent)
public:
    explicit TSkinData(TComponent* aOwner);
    ~TSkinData() override;

    // Published properties.
    bool Active() const { return FActive; }
    void SetActive(bool value);
    int32_t DisableTag() const { return FDisableTag; }
    void SetDisableTag(int32_t value) { FDisableTag = value; }
    TSkinControlTypes SkinControls() const { return FSkinControls; }
    void SetSkinControls(TSkinControlTypes value) { FSkinControls = value; }
    TSkinOptions Options() const { return FOptions; }
    void SetOptions(TSkinOptions value) { FOptions = value; }
    TStrings* Skin3rd() const { return FSkin3rd.get(); }
    void SetSkin3rd(TStrings* value);
    std::string SkinFile() const { return FSkinFile; }
    void SetSkinFile(std::string value);
    // Display only: "(none)" at run time; writing it does nothing.
    std::string SkinStore() const;
    void SetSkinStore(std::string value);
    TSkinFormType SkinFormtype() const { return FSkinFormtype; }
    void SetSkinFormtype(TSkinFormType value) { FSkinFormtype = value; }
    // Display only: writing it does nothing.
    std::string Version() const { return FVersion; }
    void SetVersion(std::string value);
    bool MenuUpdate() const { return FMenuUpdate; }
    void SetMenuUpdate(bool value) { FMenuUpdate = value; }
    bool MenuMerge() const { return FMenuMerge; }
    void SetMenuMerge(bool value) { FMenuMerge = value; }

    TOnFormSkin OnFormSkin() const { return FOnFormSkin; }
    void SetOnFormSkin(TOnFormSkin value) { FOnFormSkin = value; }
    TNotifyEvent OnSkinChanged() const { return FOnSkinChanged; }
    void SetOnSkinChanged(TNotifyEvent value) { FOnSkinChanged = value; }
    TOnSkinControl OnSkinControl() const { return FOnSkinControl; }
    void SetOnSkinControl(TOnSkinControl value) { FOnSkinControl = value; }
    TOnSkinForm OnBeforeSkinForm() const { return FOnBeforeSkinForm; }
    void SetOnBeforeSkinForm(TOnSkinForm value) { FOnBeforeSkinForm = value; }
    TOnSkinForm OnAfterSkinForm() const { return FOnAfterSkinForm; }
    void SetOnAfterSkinForm(TOnSkinForm value) { FOnAfterSkinForm = value; }

    // Component life and streaming.
    void DefineProperties(TFiler& filer) override;
    void Loaded() override;

    // Skin loading.
    bool LoadSkinPackage();
    void ApplySkinFile();

    // Services for the manager and the skinners.
    void DoFormSkin(HWND window, const std::string& className, bool& doSkin);
    void DoSkinChanged();
    void ShowButtonHint(const RECT& rect, const std::string& text);
    void HideButtonHint();

    // Colour from a text of three numbers (red, green, blue); see SkinColours.h.
    static TColor ParseColor(std::string_view text, TColor fallback);

    // The stored skin package (length-prefixed in the form resource).
    TMemoryStream& SkinStream() const { return *FSkinStream; }
    // The colour of the skin's ButtonFace entry.
    TColor ButtonFaceColor() const { return FColors[SkinColour::ButtonFace]; }

    // --- Skin state, read by the manager and the skinners. ---
    bool FSkinLoading = true;  // no usable skin until a package has been parsed
    bool FHintShown = false;
    // Milliseconds the mouse has rested on a caption button (the caption-button hint clock).
    uint32_t FHintClock = 0;
    // Skinned frames are painted; switched off while a form processes a menu change, so that the
    // frame is not painted from a menu bar being rebuilt.
    bool FFramePainting = true;
    // Counts the skin parses: what a skinner built from the elements of an earlier parse (its caption
    // buttons) points at elements that are gone.
    uint32_t FSkinGeneration = 0;
    std::array<TColor, SkinColour::Count> FColors{};
    std::array<bool, SkinColour::Count> FColorDefined{};
    std::vector<TColor> FColourSections;
    std::array<TColor, SkinCustomColourCount> FCustomColors{};
    std::unique_ptr<TBitmap> FSmallIcon;
    std::string FSkinName;
    int32_t FMaxWidth = 0;
    int32_t FMaxHeight = 0;
    std::unique_ptr<TFont> FCaptionFont;
    HWND FLastWindow = nullptr;
    win::BrushHandle FFaceBrush;
    THintWindow* FHintWindow = nullptr;  // owned (a component of this one)
    TImageList* FMenuImages = nullptr;   // owned (a component of this one): 16 x 16 menu glyphs

    // Elements that always exist.
    std::unique_ptr<TDataSkinTitle> FTitle;
    std::unique_ptr<TDataSkinButton> FButtons;
    std::unique_ptr<TDataSkinBorder> FBorderLeft;
    std::unique_ptr<TDataSkinBorder> FBorderRight;
    std::unique_ptr<TDataSkinBorder> FBorderTop;
    std::unique_ptr<TDataSkinBorder> FBorderBottom;
    std::vector<std::unique_ptr<TDataSkinSysButton>> FCaptionButtons;

    // Elements present only when the skin defines them (nil otherwise).
    std::unique_ptr<TDataSkinObject> FMenuBar;
    std::unique_ptr<TDataSkinBorder> FProgress;
    std::unique_ptr<TDataSkinObject> FProgressChunk;
    std::unique_ptr<TDataSkinObject> FGroupBoxEdge;
    std::unique_ptr<TDataSkinBoxLabel> FGroupBox;
    std::unique_ptr<TDataSkinBorder> FTabs;
    std::unique_ptr<TDataSkinObject> FStatusBarEdges;
    std::unique_ptr<TDataSkinObject> FTabPane;
    std::unique_ptr<TDataSkinObject> FToolBars;
    std::unique_ptr<TDataSkinBorder> FComboButton;
    std::unique_ptr<TDataSkinObject> FSunkEdge;
    std::unique_ptr<TDataSkinObject> FExtraImages;
    std::unique_ptr<TDataSkinObject> FHeaderbar;
    std::unique_ptr<TDataSkinObject> FMenuItem;
    std::unique_ptr<TDataSkinObject> FMenuBackground;
    std::unique_ptr<TDataSkinObject> FScrollbar;
    std::unique_ptr<TDataSkinObject> FHorzScroll;
    std::unique_ptr<TDataSkinObject> FVertScroll;
    std::unique_ptr<TDataSkinObject> FHorzScrollThumb;
    std::unique_ptr<TDataSkinObject> FVertScrollThumb;
    std::unique_ptr<TDataSkinObject> FTrackThumbHorz;
    std::unique_ptr<TDataSkinObject> FTrackThumbVert;
    std::unique_ptr<TDataSkinObject> FTrackThumbLeft;
    std::unique_ptr<TDataSkinObject> FTrackThumbRight;
    std::unique_ptr<TDataSkinObject> FTrackThumbUp;
    std::unique_ptr<TDataSkinObject> FTrackThumbDown;
    std::unique_ptr<TDataSkinBorder> FUpDownHorz;
    std::unique_ptr<TDataSkinBorder> FUpDownVert;
    std::unique_ptr<TDataSkinObject> FTrack;
    std::unique_ptr<TDataSkinObject> FTrackVert;
    std::unique_ptr<TDataSkinObject> FComboArrow;  // created by the first load, then refilled
    std::unique_ptr<TDataSkinObject> FToolbar;     // created by the first load, then refilled

private:
    void ReadSkinStream(TStream& stream);
    void WriteSkinStream(TStream& stream);
    void LoadCaptionFont();
    void BuildSmallIcon();

    // The skin parse (runs inside LoadSkinPackage while the INI reader exists).
    void ParseSkin();
    void LoadSkinBitmap(TBitmap& bitmap, std::string_view value);
    // The package member Name decoded (once per parse), or nullptr when it is
    // missing, no bitmap, or over the budget.
    const TBitmap* DecodedSkinBitmap(std::string_view name);
    // Takes Bytes from the pixel budget; false (nothing taken) when it would break it.
    bool TakeFromBitmapBudget(uint64_t bytes);
    void ReadRGBTriplet(std::string_view section, std::string_view prefix, TColor& color) const;
    void ReadBorders();
    void ReadTitle();
    void ReadMenuBar();
    void ReadCaptionButtons();
    void ReadMDIButtons();
    void ReadButtons();
    void ReadColours();
    TColor SampleTitleColor() const;
    std::unique_ptr<TDataSkinObject> ReadElement(std::string_view section);
    std::unique_ptr<TDataSkinBorder> ReadBorderElement(std::string_view section, std::string_view secondKey);
    std::unique_ptr<TDataSkinBorder> ReadProgressElement(std::string_view section);
    std::unique_ptr<TDataSkinBoxLabel> ReadBoxLabelElement(std::string_view section);
    std::unique_ptr<TDataSkinObject> LoadResourceElement(std::string_view resourceName);
    void ReadElementColors(std::string_view section, TDataSkinObject& element);
    void FixFrameCounts();
    void ComposeComboEdges();
    void BuildComboArrow();
    void BuildToolbarElement();

    std::string FSkinFile;
    std::unique_ptr<TQuickIni> FIni;                // only while a package is parsed
    std::unique_ptr<TMemoryStream> FExtractStream;  // only while a package is parsed
    bool FActive = false;
    int32_t FDisableTag = 0;
    TSkinControlTypes FSkinControls;
    TSkinOptions FOptions;
    TSkinFormType FSkinFormtype = sfMainform;
    TOnFormSkin FOnFormSkin;
    TOnSkinForm FOnBeforeSkinForm;
    TOnSkinForm FOnAfterSkinForm;
    TNotifyEvent FOnSkinChanged;
    TOnSkinControl FOnSkinControl;
    std::unique_ptr<TStringList> FSkin3rd;
    bool FMenuUpdate = true;
    std::string FVersion;
    bool FMenuMerge = false;
    std::unique_ptr<TSkinReader> FReader;  // only while a package is parsed
    std::unique_ptr<TMemoryStream> FSkinStream;
    uint64_t FBitmapBudget = 0;  // pixel bytes a parse may still load
    // Lower-cased member name -> its decoded bitmap (nullptr: unusable), so
    // that a bitmap named by many keys is decoded once; only while a package
    // is parsed. Elements get copies: each owns its bitmap.
    std::map<std::string, std::unique_ptr<TBitmap>> FDecodedBitmaps;
};
