// Loading a skin: from the stored package or a package file, through the
// package reader and the INI reader, into the skin elements (ParseSkin).
#include <algorithm>
#include <new>
#include <span>

#include "framework/rtl/Streams.h"
#include "framework/graphics/BmpCodec.h"
#include "framework/rtl/SysUtils.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinEngineLink.h"
#include "skin/data/SkinData.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinArchive.h"
#include "skin/data/SkinReader.h"

namespace {

constexpr std::string_view IniFileText = ".ini";
constexpr std::string_view BitmapExtension = ".bmp";
constexpr std::string_view TitlebarSection = "TitlebarSkin";

// A package file is LZH-coded, so it is never much larger than the largest
// archive the reader accepts; anything larger is refused unread.
constexpr int64_t SkinFileMaxSize = int64_t{2} * SkinMaxUnpackedSize;
// A skin's INI is a few kilobytes; one beyond this is damaged and read as
// missing (the skin then takes its defaults), so that a hostile package
// cannot make the line lists take many times its size.
constexpr int64_t SkinIniMaxSize = 1024 * 1024;
// Pixel memory the bitmaps of one skin may take while it is parsed (each
// element's copy, and the one decoded image of each member it copies); a
// skin asking for more gets its remaining bitmaps empty. Real skins take
// well under 1 MB.
constexpr uint64_t SkinBitmapBudget = 256u * 1024u * 1024u;

// The file-name part of a path: what follows the last directory or drive
// separator.
std::string_view FileNamePart(std::string_view path) {
    const size_t separator = path.find_last_of("\\/:");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// The extension with its dot, or empty.
std::string_view ExtensionOf(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : fileName.substr(dot);
}

}  // namespace

void TSkinData::SetSkinFile(std::string value) {
    FSkinLoading = true;
    FSkinFile = std::move(value);
    if (ComponentState().Contains(csDesigning)) {
        // The file replaces the stored package.
        if (!FSkinFile.empty() && FSkinStream->Size() > 0) FSkinStream->Clear();
        return;
    }
    // A file that gives no skin leaves the component without one: its windows lose the old skin.
    auto skinLost = [this] {
        if (TSkinEngineLink* engine = SkinEngine()) engine->ResetSysButtons(this);
    };
    if (!FileExists(FSkinFile)) {
        skinLost();
        return;
    }
    FSkinStream->Clear();
    try {
        TFileStream file(FSkinFile, fmOpenRead | fmShareDenyWrite);
        if (file.Size() > SkinFileMaxSize) {
            skinLost();
            return;
        }
        FSkinStream->LoadFromStream(file);
    } catch (const Exception&) {
        FSkinStream->Clear();  // unreadable: no skin, as for a missing file
        skinLost();
        return;
    }
    LoadSkinPackage();
    ApplySkinFile();
}

bool TSkinData::LoadSkinPackage() {
    FSkinLoading = true;
    if (ComponentState().Contains(csDesigning)) return false;

    // The reader, the extraction stream and the INI reader exist only while a
    // package is parsed; they go on every path.
    struct TParseScope {
        TSkinData& Data;
        ~TParseScope() {
            Data.FDecodedBitmaps.clear();
            Data.FIni.reset();
            Data.FExtractStream.reset();
            Data.FReader.reset();
        }
    } scope{*this};

    // A damaged package or skin must not break the loading of the form that
    // carries it: it leaves the component without a skin.
    try {
        FReader = std::make_unique<TSkinReader>();
        FExtractStream = std::make_unique<TMemoryStream>();
        if (!FReader->ReadPackage(*FSkinStream)) return false;
        FIni = std::make_unique<TQuickIni>();
        std::string iniName;
        FReader->ExtractFirstMatch(IniFileText, *FExtractStream, iniName);
        if (FExtractStream->Size() > SkinIniMaxSize) FExtractStream->Clear();
        FExtractStream->SetPosition(0);
        FIni->LoadFromStream(FExtractStream.get());
        ParseSkin();
    } catch (const Exception&) {
        FSkinLoading = true;
        return false;
    } catch (const std::bad_alloc&) {
        FSkinLoading = true;
        return false;
    }
    return true;
}

void TSkinData::ApplySkinFile() {
    const TComponentState state = ComponentState();
    if (state.Contains(csDesigning) || state.Contains(csReading) || state.Contains(csLoading)) return;
    if (SkinEngine() == nullptr) Loaded();
    TSkinEngineLink* engine = SkinEngine();
    if (engine == nullptr) return;  // no engine: the new skin is only held
    engine->ResetSysButtons(this);
    if (engine->Running()) engine->RequestAction(this, SkinActionChanged, SkinActionDelay);
}

void TSkinData::LoadSkinBitmap(TBitmap& bitmap, std::string_view value) {
    const std::string_view name = FileNamePart(value);
    // Only ".bmp" in lower case loads.
    const TBitmap* decoded = name.empty() || ExtensionOf(name) != BitmapExtension ? nullptr : DecodedSkinBitmap(name);
    const uint64_t bytes =
        decoded == nullptr ? 0 : static_cast<uint64_t>(decoded->RowBytes()) * static_cast<uint64_t>(decoded->Height());
    if (decoded == nullptr || !TakeFromBitmapBudget(bytes)) {
        bitmap.Assign(nullptr);
        return;
    }
    try {
        bitmap.Assign(decoded);
    } catch (const Exception&) {
        FBitmapBudget += bytes;  // GDI cannot hold another copy
        bitmap.Assign(nullptr);
    }
}

const TBitmap* TSkinData::DecodedSkinBitmap(std::string_view name) {
    const auto [Entry, Added] = FDecodedBitmaps.try_emplace(LowerCase(name));
    if (!Added) return Entry->second.get();
    // Decoded where it lies in the expanded package, with no copy.
    const std::span<const uint8_t> file = FReader->FileData(name);
    if (file.empty()) return nullptr;
    // Refused by its headers, before anything is allocated for its pixels,
    // when it is no bitmap or its decoded pixels would break the budget.
    TBmpInfo info;
    if (ReadBmpFileInfo(file, info) != TBmpResult::Ok || !TakeFromBitmapBudget(info.DecodedBytes())) return nullptr;
    auto bitmap = std::make_unique<TBitmap>();
    try {
        TReadOnlyMemoryStream stream(file.data(), static_cast<int64_t>(file.size()));
        bitmap->LoadFromStream(stream);
    } catch (const Exception&) {
        FBitmapBudget += info.DecodedBytes();  // not a bitmap after all, or one GDI cannot hold
        return nullptr;
    }
    Entry->second = std::move(bitmap);
    return Entry->second.get();
}

bool TSkinData::TakeFromBitmapBudget(uint64_t bytes) {
    if (bytes > FBitmapBudget) return false;
    FBitmapBudget -= bytes;
    return true;
}

void TSkinData::ParseSkin() {
    ++FSkinGeneration;
    FBitmapBudget = SkinBitmapBudget;
    FDecodedBitmaps.clear();
    FSkinName = FIni->ReadString(TitlebarSection, "SkinName", "");
    ReadBorders();
    ReadColours();
    ReadCaptionButtons();
    ReadButtons();
    ReadTitle();
    FProgress = ReadProgressElement("Progress");
    FProgressChunk = ReadElement("Progress.Chunk");
    ReadMenuBar();
    FGroupBoxEdge = ReadElement("GroupBoxEdge");
    FGroupBox = ReadBoxLabelElement("GroupBox");
    FTabs = ReadBorderElement("Tabs", "Border");
    FStatusBarEdges = ReadElement("StatusBarEdges");
    FTabPane = ReadElement("Tab.Pane");
    if (FTabPane) {
        constexpr int32_t tabPaneMaxMargin = 4;
        FTabPane->LeftWidth = std::min(FTabPane->LeftWidth, tabPaneMaxMargin);
        FTabPane->TopHeight = std::min(FTabPane->TopHeight, tabPaneMaxMargin);
        FTabPane->RightWidth = std::min(FTabPane->RightWidth, tabPaneMaxMargin);
        FTabPane->BottomHeight = std::min(FTabPane->BottomHeight, tabPaneMaxMargin);
    }
    FToolBars = ReadElement("ToolBars");
    // "****" is a second-image key no skin uses: the mirrored image is made below.
    FComboButton = ReadBorderElement("ComboButton", "****");
    FSunkEdge = ReadElement("SunkEdge");
    if (FComboButton && !FComboButton->Bitmap->Empty()) {
        FComboButton->Bitmap2->Assign(FComboButton->Bitmap.get());
        FComboButton->Bitmap2->SetPixelFormat(pf24bit);
        FlipHorizontal(*FComboButton->Bitmap2);
    }
    FExtraImages = ReadElement("ExtraImages");
    FHeaderbar = ReadElement("Headerbar");
    FMenuItem = ReadElement("MenuItem");
    FMenuBackground = ReadElement("MenuBackground");
    FScrollbar = ReadElement("Scrollbar");
    FHorzScroll = ReadElement("HorzScroll");
    FVertScroll = ReadElement("VertScroll");
    FHorzScrollThumb = ReadElement("HorzScrollThumb");
    FVertScrollThumb = ReadElement("VertScrollThumb");
    FTrackThumbHorz = ReadElement("Trackbar.ThumbHorz");
    FTrackThumbVert = ReadElement("Trackbar.ThumbVert");
    FTrackThumbLeft = ReadElement("Trackbar.ThumbLeft");
    FTrackThumbRight = ReadElement("Trackbar.ThumbRight");
    FTrackThumbUp = ReadElement("Trackbar.ThumbUp");
    FTrackThumbDown = ReadElement("Trackbar.ThumbDown");
    FUpDownHorz = ReadBorderElement("UpDown.Horz", "GlyphImage");
    FUpDownVert = ReadBorderElement("UpDown.Vert", "GlyphImage");
    FTrack = ReadElement("Track");
    FTrackVert = ReadElement("TRACKVERT");
    if (!FTrack) FTrack = LoadResourceElement("TRACK");
    if (!FTrackVert) FTrackVert = LoadResourceElement("TRACKVERT");
    FixFrameCounts();
    ComposeComboEdges();
    BuildComboArrow();
    BuildToolbarElement();
    FColors[SkinColour::TitleColor] = SampleTitleColor();
    FFaceBrush.reset(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FColors[SkinColour::ButtonFace]))));
    FSkinLoading = false;
}
