#include "tools/skingen/Preview.h"

#include <algorithm>
#include <stdexcept>

#include "tools/skingen/Drawing.h"
#include "tools/skingen/Elements.h"

using namespace cells;

namespace {
constexpr int kClientWidth = 347;  // the main window's client area
constexpr int kClientHeight = 278;
constexpr int kPanelWidth = 230;  // the panel of further controls beside the window
constexpr int kGap = 12;
constexpr int kCharWidth = 7;  // rough advance of the caption and control fonts
constexpr int kTextHeight = 13;
constexpr int kArrowSize = 17;  // SM_CXHSCROLL at 96 dpi: the combo button's width
constexpr Rgb kWindowWhite{255, 255, 255};
constexpr Rgb kLinkGreen{0, 128, 0};

struct Margins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

const Image& PictureOf(const SkinFolder& skin, const std::string& name) {
    for (const SkinFile& file : skin.files)
        if (file.name == name) return file.picture;
    throw std::invalid_argument("preview needs " + name);
}

// Cell `index` (from 1) of `count` frames, side by side or stacked.
Image CellOf(const Image& strip, int count, int index, bool stacked = false) {
    if (stacked) {
        const int height = strip.Height() / count;
        return strip.Crop(0, (index - 1) * height, strip.Width(), height);
    }
    const int width = strip.Width() / count;
    return strip.Crop((index - 1) * width, 0, width, strip.Height());
}

// Copies a source rectangle stretched (nearest pixel) into a destination rectangle.
void StretchPiece(Image& target, const Image& source, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) target.Set(dx + x, dy + y, source.At(sx + x * sw / dw, sy + y * sh / dh));
}

// The nine-slice composition of one cell at a size, middle pieces stretched.
Image NineSlice(const Image& cell, Margins m, int width, int height) {
    if (width < m.left + m.right) m.left = m.right = 0;
    if (height < m.top + m.bottom) m.top = m.bottom = 0;
    Image result(width, height);
    const int cw = cell.Width();
    const int ch = cell.Height();
    const int xs[] = {0, m.left, cw - m.right, cw};
    const int ys[] = {0, m.top, ch - m.bottom, ch};
    const int xd[] = {0, m.left, width - m.right, width};
    const int yd[] = {0, m.top, height - m.bottom, height};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            StretchPiece(result, cell, xs[column], ys[row], xs[column + 1] - xs[column], ys[row + 1] - ys[row],
                         xd[column], yd[row], xd[column + 1] - xd[column], yd[row + 1] - yd[row]);
    return result;
}

// Left cap, middle repeated, right cap; the height stretched.
Image ThreePartTiled(const Image& cell, int left, int right, int width, int height) {
    Image result(width, height);
    const int step = cell.Width() - left - right;
    StretchPiece(result, cell, 0, 0, left, cell.Height(), 0, 0, left, height);
    for (int x = left; x < width - right; x += step)
        StretchPiece(result, cell, left, 0, std::min(step, width - right - x), cell.Height(), x, 0,
                     std::min(step, width - right - x), height);
    StretchPiece(result, cell, cell.Width() - right, 0, right, cell.Height(), width - right, 0, right, height);
    return result;
}

void Put(Image& target, const Image& picture, int x, int y, bool transparent) {
    if (transparent)
        target.Overlay(picture, x, y);
    else
        target.Paste(picture, x, y);
}

int TextWidth(const std::string& text) { return static_cast<int>(text.size()) * kCharWidth; }

class Composer {
public:
    Composer(const Theme& theme, const SkinFolder& skin) : theme_(theme), skin_(skin) {}

    Preview Compose() {
        const int windowWidth = kClientWidth + theme_.left + theme_.right;
        const int windowHeight = kClientHeight + theme_.caption + theme_.bottom;
        preview_.picture = Image(kGap * 3 + windowWidth + kPanelWidth, kGap * 2 + windowHeight, Hex(0x7F8A99));
        ox_ = kGap;
        oy_ = kGap;
        Frame(windowWidth, windowHeight);
        Caption(windowWidth);
        cx_ = ox_ + theme_.left;
        cy_ = oy_ + theme_.caption;
        preview_.picture.FillRect(cx_, cy_, kClientWidth, kClientHeight, theme_.face);
        MainWindowControls();
        Panel(kGap * 2 + windowWidth, kGap, windowHeight);
        return preview_;
    }

private:
    Image& Canvas() { return preview_.picture; }
    const Image& Pic(const std::string& name) { return PictureOf(skin_, name); }
    void Text(int x, int y, Rgb colour, const std::string& text, bool bold = false) {
        preview_.texts.push_back(PreviewText{x, y, colour, bold, text});
    }
    void Element(const Image& strip, int count, int index, Margins m, int x, int y, int w, int h, bool transparent) {
        Put(Canvas(), NineSlice(CellOf(strip, count, index), m, w, h), x, y, transparent);
    }

    void Frame(int width, int height) {
        const Image left = CellOf(Pic("frameleft.bmp"), 2, 1);
        const Image right = CellOf(Pic("frameright.bmp"), 2, 1);
        const Image bottom = CellOf(Pic("framebottom.bmp"), 2, 1, true);
        Put(Canvas(), NineSlice(left, {0, theme_.caption, 0, theme_.bottom}, theme_.left, height), ox_, oy_, true);
        Put(Canvas(), NineSlice(right, {0, theme_.caption, 0, theme_.bottom}, theme_.right, height),
            ox_ + width - theme_.right, oy_, true);
        Put(Canvas(),
            NineSlice(bottom, {kFrameCap, 0, kFrameCap, 0}, width - theme_.left - theme_.right, theme_.bottom),
            ox_ + theme_.left, oy_ + height - theme_.bottom, true);
    }

    void Caption(int width) {
        const Image top = CellOf(Pic("frametop.bmp"), 2, 1, true);
        const int stripWidth = width - theme_.left - theme_.right;
        Put(Canvas(), NineSlice(top, {kFrameCap, 0, kFrameCap, 0}, stripWidth, theme_.caption), ox_ + theme_.left, oy_,
            true);
        // Title text and its plate, placed as the caption painter places them.
        const std::string title = "Quirn - code lookup";
        const int plateWidth = TextWidth(title) + 2 * theme_.glowCap;
        const int areaRight = width - theme_.right;
        int shift = theme_.textShift;
        if (theme_.textAlignment == 1) shift = (areaRight - (theme_.left + plateWidth)) / 2;
        const int plateLeft = theme_.left + shift;
        const Image plate = CellOf(Pic("captiontext.bmp"), 2, 1, true);
        Put(Canvas(), ThreePartTiled(plate, theme_.glowCap, theme_.glowCap, plateWidth, theme_.caption),
            ox_ + plateLeft, oy_, true);
        const int textTop = (theme_.caption - kTextHeight) / 2 + theme_.textShiftVert / 2;
        Text(ox_ + plateLeft + theme_.glowCap, oy_ + textTop, theme_.titleText, title, true);
        // The window icon, drawn by the engine at x = 8 beside the text.
        Image icon(16, 16);
        DrawGloss(icon, 0, 0, 16, 16, Radii::All(3), MakeGloss(Hex(0x2F7FD8), 1.0));
        FillShape(icon, Difference(Ellipse(3.5, 3, 12.5, 12), Ellipse(6, 5.5, 10, 9.5)), Hex(0xFFFFFF));
        FillShape(icon, Stroke({9.5, 10}, {12.5, 13}, 2), Hex(0xFFFFFF));
        Put(Canvas(), icon, ox_ + theme_.iconX, oy_ + textTop + kTextHeight / 2 - 8, true);
        const Image close = CellOf(Pic("closebutton.bmp"), kCaptionButtonFrames, 1);
        Put(Canvas(), close, ox_ + width - (theme_.right + theme_.buttonMargin + theme_.closeWidth),
            oy_ + theme_.buttonTop, true);
    }

    // A group box as the engine redraws it: a rounded line in the shadow colour.
    void GroupBox(int x, int y, int w, int h) {
        const int line = kTextHeight / 2 - 1;
        FillShape(Canvas(),
                  Difference(RoundedRect(x + 1, y + line, x + w - 1, y + h - 1, 2.5),
                             RoundedRect(x + 2, y + line + 1, x + w - 2, y + h - 2, 1.5)),
                  theme_.shadow);
    }

    // A memo with its vertical scroll bar laid over the system one.
    void Memo(int x, int y, int w, int h, const std::string& text, int thumbTop, int thumbLength) {
        Canvas().FillRect(x, y, w, h, theme_.shadow);
        Canvas().FillRect(x + 1, y + 1, w - 2, h - 2, kWindowWhite);
        if (!text.empty()) Text(x + 4, y + 3, Hex(0x000000), text);
        const int size = theme_.scrollSize;
        const int barX = x + w - 1 - size;
        const int barY = y + 1;
        const int length = h - 2;
        Canvas().FillRect(barX, barY, size, length, theme_.face);
        Element(Pic("vertscroll.bmp"), kTrackFrames, 1, {0, kTrackMargin, 0, kTrackMargin}, barX, barY + size, size,
                length - 2 * size, false);
        const Image& arrows = Pic("scrollbararrow.bmp");
        Put(Canvas(), CellOf(arrows, kScrollCells, 9), barX, barY, true);
        Put(Canvas(), CellOf(arrows, kScrollCells, 13), barX, barY + length - size, true);
        const int start = barY + size + thumbTop;
        Element(Pic("vertscrollthumb.bmp"), kThumbFrames, 1, {0, kThumbMargin, 0, kThumbMargin}, barX, start, size,
                thumbLength, true);
        if (thumbLength > size + 2)
            Put(Canvas(), CellOf(arrows, kScrollCells, 20), barX, start + (thumbLength - size) / 2, true);
    }

    void PushButton(int x, int y, int w, int h, int frame, const std::string& caption) {
        Element(Pic("m4pushbutton.bmp"), kPushFrames, frame, {kPushMargin, kPushMargin, kPushMargin, kPushMargin}, x, y,
                w, h, true);
        Text(x + (w - TextWidth(caption)) / 2, y + (h - kTextHeight) / 2 - 1,
             frame == 4 ? theme_.controlHotText : theme_.controlText, caption);
    }

    void MainWindowControls() {
        GroupBox(cx_, cy_, kClientWidth, 109);
        Memo(cx_ + 2, cy_ + 14, 343, 93, "Quirn", 0, 40);
        GroupBox(cx_, cy_ + 109, kClientWidth, 41);
        PushButton(cx_ + 6, cy_ + 109 + 10, 75, 25, 1, "Query");
        PushButton(cx_ + 267, cy_ + 109 + 10, 75, 25, 4, "Exit");
        Text(cx_ + 117, cy_ + 109 + 16, kLinkGreen, "quirn.example");
        GroupBox(cx_, cy_ + 150, kClientWidth, 105);
        Memo(cx_ + 2, cy_ + 164, 343, 89, "81,117,105,114,110", 12, 30);
        Element(Pic("statusbar.bmp"), kStatusFrames, 1, {kStatusMargin, kStatusMargin, kStatusMargin, kStatusMargin},
                cx_, cy_ + 255, kClientWidth, 23, false);
        Text(cx_ + 4, cy_ + 255 + 4, theme_.statusText, "Ready");
    }

    void Panel(int x, int y, int height) {
        Canvas().FillRect(x, y, kPanelWidth, height, theme_.face);
        int row = y + 8;
        const int left = x + 8;
        const int width = kPanelWidth - 16;
        // Tabs over their pane: the current tab and two others.
        const Image& tabs = Pic("tab.bmp");
        const Margins tabMargins{kTabSideMargin, kTabTopMargin, kTabSideMargin, kTabBottomMargin};
        Element(Pic("tabpane.bmp"), 1, 1, {kPaneMargin, kPaneMargin, kPaneMargin, kPaneMargin}, left, row + 22, width,
                50, false);
        Element(tabs, kTabFrames, 1, tabMargins, left + 62, row + 1, 58, 21, true);
        Element(tabs, kTabFrames, 3, tabMargins, left + 120, row + 1, 58, 21, true);
        Element(tabs, kTabFrames, 2, tabMargins, left, row, 62, 22, true);
        Text(left + 12, row + 4, theme_.faceText, "Page");
        Text(left + 70, row + 5, theme_.faceText, "Other");
        Text(left + 128, row + 5, theme_.faceText, "Hot");
        // Check boxes and radio buttons inside the pane.
        const int checkCells = theme_.extendedCheckStrips ? kExtendedCheckCells : kLegacyCheckCells;
        const int radioCells = theme_.extendedCheckStrips ? kExtendedRadioCells : kLegacyCheckCells;
        const int checkedCell = theme_.extendedCheckStrips ? 5 : 2;
        Put(Canvas(), CellOf(Pic("checkbox_old.bmp"), checkCells, checkedCell), left + 8, row + 30, true);
        Put(Canvas(), CellOf(Pic("checkbox_old.bmp"), checkCells, 1), left + 8, row + 50, true);
        Put(Canvas(), CellOf(Pic("radiobtn_old.bmp"), radioCells, theme_.extendedCheckStrips ? 5 : 2), left + 110,
            row + 30, true);
        Put(Canvas(), CellOf(Pic("radiobtn_old.bmp"), radioCells, 1), left + 110, row + 50, true);
        row += 82;
        // Progress bar, 60 % done.
        ProgressBar(left, row, width, 18);
        row += 28;
        // Combo box: white edit, the skin's button at the right.
        Canvas().FillRect(left, row, width, 21, theme_.shadow);
        Canvas().FillRect(left + 1, row + 1, width - 2, 19, kWindowWhite);
        Text(left + 5, row + 4, Hex(0x000000), "Combo box");
        Put(Canvas(), NineSlice(CellOf(Pic("combobutton.bmp"), kComboFrames, 1), {}, kArrowSize + 2, 21),
            left + width - kArrowSize - 2, row, true);
        row += 30;
        // Header with a hot item, then a track bar thumb and an up-down.
        const Image& header = Pic("headerbar.bmp");
        const int headerFrames = theme_.headerFrames > 0 ? theme_.headerFrames : kEngineHeaderFrames;
        const Margins hm{kHeaderMargin, kHeaderMargin, kHeaderMargin, kHeaderMargin};
        Element(header, headerFrames, 1, hm, left, row, 90, 20, false);
        Element(header, headerFrames, 2, hm, left + 90, row, 90, 20, false);
        Element(header, headerFrames, 1, hm, left + 180, row, width - 180, 20, false);
        Text(left + 6, row + 3, theme_.faceText, "Name");
        Text(left + 96, row + 3, theme_.faceText, "Size");
        row += 30;
        Canvas().FillRect(left + 4, row + 9, 150, 4, theme_.shadow);
        Canvas().FillRect(left + 5, row + 10, 148, 2, kWindowWhite);
        Put(Canvas(),
            CellOf(Pic(theme_.pointedTrackThumbs ? "trackthumbdown.bmp" : "trackthumbhorz.bmp"), kTrackThumbFrames, 2),
            left + 60, row, true);
        const Image& updown = Pic("updownvert.bmp");
        const Image& glyphs = Pic("updownglyphvert.bmp");
        for (int half = 0; half < 2; ++half) {
            const int top = row + half * 11;
            const int cell = 1 + 4 * half;
            Put(Canvas(), CellOf(updown, kUpDownFrames, cell), left + 180, top, true);
            Put(Canvas(), CellOf(glyphs, kUpDownFrames, cell), left + 180 + (kUpDownWidth - kUpDownGlyphWidth) / 2,
                top + (kUpDownHeight - kUpDownGlyphHeight) / 2, true);
        }
        row += 34;
        PopupMenu(left, row, 150, 4 * 20 + 8 + 6);
    }

    void ProgressBar(int x, int y, int w, int h) {
        const Image& bar = Pic("progress.bmp");
        const Margins m{kProgressMargin, kProgressMargin, kProgressMargin, kProgressMargin};
        Canvas().FillRect(x, y, w, h, theme_.face);
        const int done = w * 60 / 100;
        if (theme_.chunkProgress) {
            Element(bar, 1, 1, m, x, y, w, h, true);
            const Image& chunk = Pic("progresschunk.bmp");
            for (int cx = x + 2; cx + chunk.Width() <= x + 2 + done; cx += chunk.Width())
                Put(Canvas(), chunk, cx, y + (h - chunk.Height()) / 2, false);
        } else {
            Element(bar, 2, 1, m, x, y, w, h, true);
            Element(bar, 2, 2, m, x, y, done, h, true);
        }
    }

    void PopupMenu(int x, int y, int w, int h) {
        Element(Pic("menubackground.bmp"), 1, 1,
                {kMenuBackgroundMargin, kMenuBackgroundMargin, kMenuBackgroundMargin, kMenuBackgroundMargin}, x, y, w,
                h, false);
        const Image& items = Pic("menuitem.bmp");
        const Margins m{kMenuItemMargin, kMenuItemMargin, kMenuItemMargin, kMenuItemMargin};
        const int left = x + 3;
        const int width = w - 6;
        int top = y + 3;
        const char* captions[] = {"Open", "Save", "-", "Exit"};
        for (int i = 0; i < 4; ++i) {
            const bool separator = std::string(captions[i]) == "-";
            const int height = separator ? 8 : 20;
            if (separator) {
                const Image cell = CellOf(items, kMenuItemFrames, 2);
                Put(Canvas(),
                    NineSlice(cell.Crop(0, cell.Height() - height, cell.Width(), height), {m.left, 0, m.right, 0},
                              width, height),
                    left, top, true);
            } else {
                Element(items, kMenuItemFrames, i == 1 ? 4 : 1, m, left, top, width, height, true);
                Text(left + kMenuItemMargin + 22, top + 3, i == 1 ? theme_.selectionText : theme_.menuText,
                     captions[i]);
            }
            top += height;
        }
    }

    const Theme& theme_;
    const SkinFolder& skin_;
    Preview preview_;
    int ox_ = 0;
    int oy_ = 0;
    int cx_ = 0;
    int cy_ = 0;
};
}  // namespace

Preview ComposePreview(const Theme& theme, const SkinFolder& skin) { return Composer(theme, skin).Compose(); }
