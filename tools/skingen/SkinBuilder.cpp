#include "tools/skingen/SkinBuilder.h"

#include <fstream>
#include <stdexcept>
#include <string_view>

#include "tools/skingen/BmpWriter.h"
#include "tools/skingen/Elements.h"
#include "tools/skingen/IniWriter.h"

using namespace cells;

namespace {
// Caption-button actions and visibility rules as the engine numbers them.
constexpr int kActionClose = 0;
constexpr int kActionMaximize = 1;
constexpr int kActionMinimize = 2;
constexpr int kActionSystemMenu = 3;
constexpr int kAlignLeft = 0;
constexpr int kAlignRight = 1;
constexpr int kVisibleAlways = 0;
constexpr int kVisibleMaximized = 1;
constexpr int kVisibleNotMaximized = 2;
constexpr int kVisibleWithBoxesAndSystemMenu = 6;
constexpr int kVisibleWithBoxes = 6;
constexpr int kTitleGap = 4;  // between the caption text and the leftmost caption button

int CloseX(const Theme& t) { return t.right + t.buttonMargin + t.closeWidth; }
int MaximizeX(const Theme& t) { return CloseX(t) + t.buttonGap + t.buttonWidth; }
int MinimizeX(const Theme& t) { return MaximizeX(t) + t.buttonGap + t.buttonWidth; }

class Builder {
public:
    explicit Builder(const Theme& theme) : theme_(theme) {}

    // Adds a bitmap once; later sections may name the same file again.
    std::string Bitmap(std::string_view name, Image picture) {
        if (name.size() < 4 || name.substr(name.size() - 4) != ".bmp")
            throw std::invalid_argument("bitmap names end in .bmp");
        for (char c : name)
            if (c >= 'A' && c <= 'Z') throw std::invalid_argument("bitmap names are lower case");
        for (const SkinFile& file : bitmaps_)
            if (file.name == name) throw std::invalid_argument("bitmap added twice");
        bitmaps_.push_back(SkinFile{std::string(name), EncodeBmp(picture), std::move(picture)});
        return std::string(name);
    }

    IniText& Ini() { return ini_; }
    const Theme& Style() const { return theme_; }

    SkinFolder Finish() {
        SkinFolder folder{theme_.folder, {}};
        folder.files.push_back(
            SkinFile{theme_.iniName, std::vector<uint8_t>(ini_.Text().begin(), ini_.Text().end()), {}});
        folder.files.insert(folder.files.end(), bitmaps_.begin(), bitmaps_.end());
        return folder;
    }

private:
    const Theme& theme_;
    IniText ini_;
    std::vector<SkinFile> bitmaps_;
};

void Margins(IniText& ini, int left, int top, int right, int bottom) {
    ini.Key("LeftWidth", left);
    ini.Key("TopHeight", top);
    ini.Key("RightWidth", right);
    ini.Key("BottomHeight", bottom);
}

void FrameSideKeys(IniText& ini, std::string_view side, const std::string& image, int firstEnd, int lastEnd) {
    const std::string prefix(side);
    ini.Key(prefix, image);
    ini.Key(prefix + "TopHeight", firstEnd);
    ini.Key(prefix + "BotHeight", lastEnd);
    ini.Key(prefix + "Frame", 2);
    ini.Key(prefix + "Stretch", 1);
    ini.Key(prefix + "Trans", 1);
}

void WritePersonality(Builder& b) {
    const Theme& t = b.Style();
    IniText& ini = b.Ini();
    ini.Section("Personality");
    ini.Comment("Frame sides: Left/Right frames side by side, Top/Bottom frames stacked; 1 active, 2 inactive.");
    FrameSideKeys(ini, "Left", b.Bitmap("frameleft.bmp", FrameSide(t, false)), t.caption, t.bottom);
    FrameSideKeys(ini, "Right", b.Bitmap("frameright.bmp", FrameSide(t, true)), t.caption, t.bottom);
    FrameSideKeys(ini, "Top", b.Bitmap("frametop.bmp", FrameTop(t)), kFrameCap, kFrameCap);
    FrameSideKeys(ini, "Bottom", b.Bitmap("framebottom.bmp", FrameBottom(t)), kFrameCap, kFrameCap);
    ini.Comment("Caption text and the plate behind it (two frames stacked: active, inactive).");
    ini.Key("TextBack", b.Bitmap("captiontext.bmp", CaptionTextBack(t)));
    ini.Key("TextAlignment", t.textAlignment);
    ini.Key("TextShift", t.textShift);
    ini.Key("TextShiftVert", t.textShiftVert);
    ini.Key("TextRightClip", MinimizeX(t) - t.right + kTitleGap);
    ini.Key("Textbackground", 1);
    ini.Key("TXTBackleft", t.glowCap);
    ini.Key("TXTBackRight", t.glowCap);
    ini.Key("ActiveTextR", t.titleText.r);
    ini.Key("ActiveTextG", t.titleText.g);
    ini.Key("ActiveTextB", t.titleText.b);
    ini.Key("InActiveTextR", t.titleTextInactive.r);
    ini.Key("InActiveTextG", t.titleTextInactive.g);
    ini.Key("InActiveTextB", t.titleTextInactive.b);
    ini.Comment("Menu bar strip (two frames stacked: active, inactive).");
    ini.Key("menuBar", b.Bitmap("menubar.bmp", MenuBar(t)));
    ini.Key("TileMenu", 1);
    ini.Key("TileLeftMenu", 1);
    ini.Key("TileRightMenu", 1);
}

void WriteColours(Builder& b) {
    const Theme& t = b.Style();
    IniText& ini = b.Ini();
    ini.Section("Fonts");
    ini.Key("FontHeight", t.fontHeight);
    ini.Section("Colours");
    ini.Key("WindowText", t.faceText);
    ini.Key("TitleTextActive", t.titleText);
    ini.Key("TitleTextNoActive", t.titleTextInactive);
    ini.Key("ButtonFace", t.face);
    ini.Key("ButtonText", t.faceText);
    ini.Key("ButtonHilight", t.highlight);
    ini.Key("Buttonlight", t.light);
    ini.Key("ButtonShadow", t.shadow);
    ini.Key("ButtonDkShadow", t.darkShadow);
    ini.Key("HilightText", t.selectionText);
    ini.Key("Hilight", t.selection);
    ini.Key("Menubar", t.menuBar);
    ini.Key("MenuBarText", t.menuBarText);
    ini.Key("MenuText", t.menuText);
    ini.Key("Menu", t.menu);
    ini.Key("Scrollbar", t.face);
}

void CaptionButtonSection(IniText& ini, int index, int action, int align, int x, int y, int visibility, int visibility1,
                          const std::string& image) {
    ini.Section("Button" + std::to_string(index));
    ini.Key("Action", action);
    ini.Key("Align", align);
    ini.Key("Xcoord", x);
    ini.Key("Ycoord", y);
    ini.Key("Visibility", visibility);
    ini.Key("Visibility1", visibility1);
    if (!image.empty()) {
        ini.Key("frame", kCaptionButtonFrames);
        ini.Key("ButtonImage", image);
    }
}

void WriteCaptionButtons(Builder& b) {
    const Theme& t = b.Style();
    IniText& ini = b.Ini();
    const int closeX = CloseX(t);
    const int maximizeX = MaximizeX(t);
    const int minimizeX = MinimizeX(t);
    CaptionButtonSection(ini, 0, kActionClose, kAlignRight, closeX, t.buttonTop, kVisibleAlways, kVisibleAlways,
                         b.Bitmap("closebutton.bmp", CaptionButton(t, CaptionSymbol::Close)));
    CaptionButtonSection(ini, 1, kActionMaximize, kAlignRight, maximizeX, t.buttonTop, kVisibleNotMaximized,
                         kVisibleWithBoxes, b.Bitmap("maxbutton.bmp", CaptionButton(t, CaptionSymbol::Maximize)));
    CaptionButtonSection(ini, 2, kActionMaximize, kAlignRight, maximizeX, t.buttonTop, kVisibleMaximized,
                         kVisibleWithBoxes, b.Bitmap("restrorebutton.bmp", CaptionButton(t, CaptionSymbol::Restore)));
    CaptionButtonSection(ini, 3, kActionMinimize, kAlignRight, minimizeX, t.buttonTop, kVisibleWithBoxesAndSystemMenu,
                         kVisibleAlways, b.Bitmap("minbutton.bmp", CaptionButton(t, CaptionSymbol::Minimize)));
    ini.Comment("The window icon; it has no picture of its own, the engine draws the window's small icon.");
    CaptionButtonSection(ini, 4, kActionSystemMenu, kAlignLeft, t.iconX, t.iconY, kVisibleAlways, kVisibleAlways, "");
    ini.Section("MDICONTROLS");
    ini.Comment("Minimize, restore and close of a maximized MDI child, four frames each.");
    ini.Key("Image", b.Bitmap("mdicontrols.bmp", MdiControls(t)));
}

void WriteButtons(Builder& b) {
    const Theme& t = b.Style();
    IniText& ini = b.Ini();
    ini.Section("Buttons");
    ini.Comment("Five frames: normal, pressed, disabled, hover, focused or default.");
    ini.Key("Bitmap", b.Bitmap("m4pushbutton.bmp", PushButton(t)));
    Margins(ini, kPushMargin, kPushMargin, kPushMargin, kPushMargin);
    ini.Key("Trans", 1);
    ini.Key("Tile", 0);
    ini.Key("CheckButton", b.Bitmap("checkbox_old.bmp", CheckStrip(t)));
    ini.Key("CheckButtonFrame", t.extendedCheckStrips ? kExtendedCheckCells : kLegacyCheckCells);
    ini.Key("RadioButton", b.Bitmap("radiobtn_old.bmp", RadioStrip(t)));
    ini.Key("RadioButtonFrame", t.extendedCheckStrips ? kExtendedRadioCells : kLegacyCheckCells);
    ini.Key("NormalColour2", t.controlText);
    ini.Key("MouseOverColour2", t.controlHotText);
    ini.Key("PressedColour2", t.controlHotText);
}

void Element(IniText& ini, std::string_view section, const std::string& image, int trans, int tile) {
    ini.Section(section);
    ini.Key("Image", image);
    ini.Key("Trans", trans);
    ini.Key("Tile", tile);
}

void WriteScrollBars(Builder& b) {
    const Theme& t = b.Style();
    IniText& ini = b.Ini();
    Element(ini, "Scrollbar", b.Bitmap("scrollbararrow.bmp", ScrollbarStrip(t)), 1, 0);
    ini.Comment("23 cells: arrows left, right, up, down (normal, pressed, disabled, hover), grips, corner.");
    Element(ini, "HorzScroll", b.Bitmap("horzscroll.bmp", ScrollTrack(t, false)), 0, 0);
    Margins(ini, kTrackMargin, 0, kTrackMargin, 0);
    Element(ini, "VertScroll", b.Bitmap("vertscroll.bmp", ScrollTrack(t, true)), 0, 0);
    Margins(ini, 0, kTrackMargin, 0, kTrackMargin);
    Element(ini, "HorzScrollThumb", b.Bitmap("horzscrollthumb.bmp", ScrollThumb(t, false)), 1, 0);
    Margins(ini, kThumbMargin, 0, kThumbMargin, 0);
    ini.Key("FrameCount", kThumbFrames);
    Element(ini, "VertScrollThumb", b.Bitmap("vertscrollthumb.bmp", ScrollThumb(t, true)), 1, 0);
    Margins(ini, 0, kThumbMargin, 0, kThumbMargin);
    ini.Key("FrameCount", kThumbFrames);
}

void WriteProgressAndTabs(Builder& b) {
    const Theme& t = b.Style();
    IniText& ini = b.Ini();
    ini.Section("Progress");
    ini.Key("Bitmap", b.Bitmap("progress.bmp", ProgressBar(t)));
    ini.Key("Style", t.chunkProgress ? 1 : 0);
    Margins(ini, kProgressMargin, kProgressMargin, kProgressMargin, kProgressMargin);
    ini.Key("Trans", 1);
    ini.Key("Tile", 0);
    if (t.chunkProgress) {
        Element(ini, "Progress.Chunk", b.Bitmap("progresschunk.bmp", ProgressChunk(t)), 0, 1);
        ini.Key("Frame", 1);
    }

    const std::string pane = b.Bitmap("tabpane.bmp", TabPane(t));
    Element(ini, "Tabs", b.Bitmap("tab.bmp", TabStrip(t)), 1, 0);
    ini.Comment("Five frames: normal, current, hot, disabled, current with focus.");
    ini.Key("Style", t.tabBorderPane ? 0 : 1);
    if (t.tabBorderPane) ini.Key("Border", pane);
    Margins(ini, kTabSideMargin, kTabTopMargin, kTabSideMargin, kTabBottomMargin);
    ini.Key("NormalColour2", t.faceText);
    ini.Key("MouseOverColour2", t.faceText);
    Element(ini, "Tab.Pane", pane, 0, 0);
    Margins(ini, kPaneMargin, kPaneMargin, kPaneMargin, kPaneMargin);
}

void WriteBarsAndMenus(Builder& b) {
    const Theme& t = b.Style();
    IniText& ini = b.Ini();
    Element(ini, "StatusBarEdges", b.Bitmap("statusbar.bmp", StatusBarEdges(t)), 0, 0);
    ini.Comment("Three frames: lowered, raised, no bevel.");
    Margins(ini, kStatusMargin, kStatusMargin, kStatusMargin, kStatusMargin);
    ini.Key("NormalColour2", t.statusText);

    Element(ini, "ComboButton", b.Bitmap("combobutton.bmp", ComboButton(t)), 1, 0);
    ini.Comment("Four frames: normal, pressed, disabled, hover or focused.");
    ini.Key("Style", 0);
    Margins(ini, kComboMargin, kComboMargin, kComboMargin, kComboMargin);

    Element(ini, "ExtraImages", b.Bitmap("extraimages.bmp", ExtraImages(t)), 1, 0);
    ini.Comment("Frames 1-4 lie over the combo button (left empty: the arrow is in ComboButton); 5 is the size grip.");

    Element(ini, "MenuItem", b.Bitmap("menuitem.bmp", MenuItem(t)), 1, 0);
    ini.Comment("Five frames: normal, separator, unused, selected, unused.");
    ini.Key("Frame", kMenuItemFrames);
    Margins(ini, kMenuItemMargin, kMenuItemMargin, kMenuItemMargin, kMenuItemMargin);

    Element(ini, "MenuBackground", b.Bitmap("menubackground.bmp", MenuBackground(t)), 0, 0);
    Margins(ini, kMenuBackgroundMargin, kMenuBackgroundMargin, kMenuBackgroundMargin, kMenuBackgroundMargin);

    Element(ini, "Headerbar", b.Bitmap("headerbar.bmp", HeaderBar(t)), 0, 0);
    if (t.headerFrames > 0) ini.Key("frame", t.headerFrames);
    Margins(ini, kHeaderMargin, kHeaderMargin, kHeaderMargin, kHeaderMargin);
    ini.Key("NormalColour2", t.faceText);
}

void WriteTrackAndUpDown(Builder& b) {
    const Theme& t = b.Style();
    IniText& ini = b.Ini();
    const std::string horizontal = b.Bitmap("trackthumbhorz.bmp", TrackThumb(t, ThumbShape::Plain, false));
    const std::string vertical = b.Bitmap("trackthumbvert.bmp", TrackThumb(t, ThumbShape::Plain, true));
    Element(ini, "Trackbar.ThumbHorz", horizontal, 1, 0);
    ini.Comment("Five cells; the engine draws cell 2.");
    Element(ini, "Trackbar.ThumbVert", vertical, 1, 0);
    if (t.pointedTrackThumbs) {
        Element(ini, "Trackbar.ThumbUp", b.Bitmap("trackthumbup.bmp", TrackThumb(t, ThumbShape::PointUp, false)), 1, 0);
        Element(ini, "Trackbar.ThumbDown", b.Bitmap("trackthumbdown.bmp", TrackThumb(t, ThumbShape::PointDown, false)),
                1, 0);
        Element(ini, "Trackbar.ThumbLeft", b.Bitmap("trackthumbleft.bmp", TrackThumb(t, ThumbShape::PointLeft, true)),
                1, 0);
        Element(ini, "Trackbar.ThumbRight",
                b.Bitmap("trackthumbright.bmp", TrackThumb(t, ThumbShape::PointRight, true)), 1, 0);
    } else {
        ini.Comment("Round thumbs need no point: the directed sections share the two pictures.");
        Element(ini, "Trackbar.ThumbUp", horizontal, 1, 0);
        Element(ini, "Trackbar.ThumbDown", horizontal, 1, 0);
        Element(ini, "Trackbar.ThumbLeft", vertical, 1, 0);
        Element(ini, "Trackbar.ThumbRight", vertical, 1, 0);
    }

    const std::string horzButtons = b.Bitmap("updownhorz.bmp", UpDownButtons(t, false));
    const std::string vertButtons = b.Bitmap("updownvert.bmp", UpDownButtons(t, true));
    Element(ini, "UpDown.Horz", horzButtons, 1, 0);
    ini.Comment("Eight cells: left arrow (normal, pressed, disabled, hover), then right arrow.");
    ini.Key("GlyphImage", b.Bitmap("updownglyphhorz.bmp", UpDownGlyphs(t, false)));
    Margins(ini, 2, 2, 2, 2);
    Element(ini, "UpDown.Vert", vertButtons, 1, 0);
    ini.Comment("Eight cells: up arrow (normal, pressed, disabled, hover), then down arrow.");
    ini.Key("GlyphImage", b.Bitmap("updownglyphvert.bmp", UpDownGlyphs(t, true)));
    Margins(ini, 2, 2, 2, 2);
}

void WriteColourSections(Builder& b) {
    const Theme& t = b.Style();
    IniText& ini = b.Ini();
    const std::pair<const char*, Rgb> named[] = {{"Colour.Accent", t.accent},
                                                 {"Colour.Chrome", t.chrome},
                                                 {"Colour.Control", t.control},
                                                 {"Colour.Progress", t.progress}};
    for (const auto& [name, colour] : named) {
        ini.Section(name);
        ini.Key("color", colour);
    }
    ini.Section("Customcolors");
    const Rgb palette[] = {t.face,   t.chrome,    t.accent, t.control,   t.progress,
                           t.shadow, t.selection, t.menu,   t.titleText, t.closeButton};
    for (size_t n = 0; n < std::size(palette); ++n) ini.Key("Color" + std::to_string(n), palette[n]);
}
}  // namespace

SkinFolder BuildSkin(const Theme& theme) {
    Builder b(theme);
    b.Ini().Comment(std::string(theme.skinName) +
                    " - skin definition written by skingen; edit the generator, not this file.");
    b.Ini().Section("TitlebarSkin");
    b.Ini().Key("SkinName", theme.skinName);
    WritePersonality(b);
    WriteColours(b);
    WriteCaptionButtons(b);
    WriteButtons(b);
    WriteScrollBars(b);
    WriteProgressAndTabs(b);
    WriteBarsAndMenus(b);
    WriteTrackAndUpDown(b);
    WriteColourSections(b);
    return b.Finish();
}

void WriteSkin(const SkinFolder& skin, const std::filesystem::path& directory) {
    const std::filesystem::path folder = directory / skin.name;
    std::filesystem::create_directories(folder);
    for (const SkinFile& file : skin.files) {
        std::ofstream out(folder / file.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + (folder / file.name).string());
    }
}
