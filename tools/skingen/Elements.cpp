#include "tools/skingen/Elements.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace cells;

namespace {

// ---- Window chrome -------------------------------------------------------------------------

Rgb ChromeOf(const Theme& theme, bool active) { return active ? theme.chrome : theme.chromeInactive; }

// Colour of caption row y: a glass highlight in the upper half, a soft rise in the lower half.
Rgb CaptionColour(const Theme& theme, bool active, double y) {
    const Rgb chrome = ChromeOf(theme, active);
    const double middle = theme.caption / 2.0;
    if (y < middle)
        return Gradient(Lighter(chrome, 0.62 * theme.gloss), Lighter(chrome, 0.30 * theme.gloss))
            .At((y - 1) / (middle - 1));
    return Gradient(chrome, Lighter(chrome, 0.22 * theme.gloss)).At((y - middle) / (theme.caption - 1 - middle));
}

// Colour of a frame side at a distance from the window's outer edge.
Rgb SideColour(const Theme& theme, bool active, double distance) {
    const Rgb chrome = ChromeOf(theme, active);
    const int widest = std::max({theme.left, theme.right, theme.bottom});
    return Gradient(Lighter(chrome, 0.40 * theme.gloss), chrome).At((distance - 1) / std::max(widest - 2, 1));
}

Rgb OuterLine(const Theme& theme, bool active) { return Darker(ChromeOf(theme, active), 0.5); }
Rgb InnerLine(const Theme& theme, bool active) { return Darker(ChromeOf(theme, active), 0.3); }

// A whole small window frame; the four side pictures are cut from it so that they meet exactly.
Image ReferenceWindow(const Theme& theme, bool active) {
    const int width = theme.left + 2 * kFrameCap + kFrameMiddle + theme.right;
    const int height = theme.caption + kFrameMiddle + theme.bottom;
    Image window(width, height);
    const Radii corners{theme.cornerTop, theme.cornerTop, theme.cornerBottom, theme.cornerBottom};
    FillShape(window, RoundedRect(0, 0, width, height, corners), OuterLine(theme, active));
    FillShape(window, RoundedRect(1, 1, width - 1, height - 1, Shrunk(corners, 1)), [&](double x, double y) {
        if (y < theme.caption) return CaptionColour(theme, active, y);
        return SideColour(theme, active, std::min({x, width - x, height - y}));
    });
    // The line around the client area; its top is the caption's last row.
    const Rgb inner = InnerLine(theme, active);
    const int clientLeft = theme.left - 1;
    const int clientTop = theme.caption - 1;
    const int clientWidth = width - theme.left - theme.right + 2;
    const int clientHeight = height - theme.caption - theme.bottom + 2;
    window.FillRect(clientLeft, clientTop, clientWidth, 1, inner);
    window.FillRect(clientLeft, clientTop + clientHeight - 1, clientWidth, 1, inner);
    window.FillRect(clientLeft, clientTop, 1, clientHeight, inner);
    window.FillRect(clientLeft + clientWidth - 1, clientTop, 1, clientHeight, inner);
    return window;
}

// ---- Common looks --------------------------------------------------------------------------

Gloss Normal(const Theme& theme, Rgb base) { return MakeGloss(base, theme.gloss); }
// Hot: a little lighter and drawn towards the accent, with an accent border. Pressed: sunk into
// the accent.
Gloss Hot(const Theme& theme, Rgb base) {
    Gloss look = MakeGloss(Lighter(Mix(base, theme.accent, 0.18 * theme.hotTint), 0.12), theme.gloss);
    look.border = Mix(look.border, theme.accent, 0.55);
    return look;
}
Gloss Pressed(const Theme& theme, Rgb base) {
    Gloss look = MakeGloss(Darker(Mix(base, theme.accent, 0.35), 0.1), theme.gloss);
    look.border = Darker(theme.accent, 0.35);
    return look;
}
Gloss Disabled(const Theme& theme, Rgb base) {
    Gloss look = MakeGloss(Mix(base, theme.face, 0.6), theme.gloss * 0.4);
    look.border = Mix(look.border, theme.face, 0.5);
    return look;
}
Rgb FadedGlyph(const Theme& theme, Rgb glyph) { return Mix(glyph, theme.face, 0.6); }

Image Cell(int width, int height, Rgb fill = kTransparent) { return Image(width, height, fill); }

std::vector<Image> Transposed(const std::vector<Image>& frames) {
    std::vector<Image> result;
    for (const Image& frame : frames) result.push_back(frame.Transposed());
    return result;
}

// ---- Caption buttons -----------------------------------------------------------------------

Shape Symbol(CaptionSymbol symbol, int cx, int cy, int half) {
    switch (symbol) {
    case CaptionSymbol::Close: return CloseSymbol(cx, cy, half, half >= 4 ? 2.2 : 1.6);
    case CaptionSymbol::Maximize: return MaximizeSymbol(cx, cy, half);
    case CaptionSymbol::Restore: return RestoreSymbol(cx, cy, half);
    case CaptionSymbol::Minimize: return MinimizeSymbol(cx, cy, half);
    }
    return Symbol(CaptionSymbol::Close, cx, cy, half);
}

// Frames: 1 normal, 2 pressed, 3 hot, 4 inactive window or disabled.
std::vector<Image> CaptionButtonFrames(const Theme& theme, CaptionSymbol symbol, int width, int height, double radius,
                                       int half) {
    const Rgb base = symbol == CaptionSymbol::Close ? theme.closeButton : theme.captionButton;
    const Gloss hot = symbol == CaptionSymbol::Close ? MakeGloss(Lighter(base, 0.2), theme.gloss) : Hot(theme, base);
    const Gloss looks[] = {Normal(theme, base), MakeGloss(Darker(base, 0.3), theme.gloss), hot,
                           MakeGloss(Mix(base, theme.chromeInactive, 0.75), theme.gloss * 0.6)};
    std::vector<Image> frames;
    for (int state = 0; state < kCaptionButtonFrames; ++state) {
        Image cell = Cell(width, height);
        DrawGloss(cell, 0, 0, width, height, Radii::All(radius), looks[state]);
        const bool faded = state == kCaptionButtonFrames - 1;
        const Rgb glyph = faded ? Mix(theme.captionGlyph, looks[state].bottom0, 0.45) : theme.captionGlyph;
        const Rgb outline =
            faded ? Mix(theme.captionGlyphOutline, looks[state].bottom0, 0.6) : theme.captionGlyphOutline;
        DrawSymbol(cell, Symbol(symbol, (width - 1) / 2, (height - 1) / 2, half), glyph, outline);
        frames.push_back(cell);
    }
    return frames;
}

// ---- Check boxes and radio buttons ---------------------------------------------------------

enum class Mark { None, Checked, Mixed };
enum class Look { Normal, Hot, Pressed, Disabled };

Rgb BoxBorder(const Theme& theme, Look look) {
    switch (look) {
    case Look::Hot: return theme.accent;
    case Look::Pressed: return Darker(theme.accent, 0.25);
    case Look::Disabled: return Mix(theme.shadow, theme.face, 0.5);
    case Look::Normal: break;
    }
    return Darker(Mix(theme.shadow, theme.accent, 0.25), 0.1);
}

Paint WellPaint(const Theme& theme, Look look, double size) {
    if (look == Look::Disabled) return Solid(Mix(theme.well, theme.face, 0.7));
    const Rgb well = look == Look::Pressed ? Mix(theme.well, theme.accent, 0.2) : theme.well;
    return Vertical(Gradient(Mix(well, theme.shadow, 0.25), look == Look::Hot ? Mix(well, theme.accent, 0.1) : well), 1,
                    size - 1);
}

Rgb MarkColour(const Theme& theme, Look look) {
    return look == Look::Disabled ? Mix(theme.shadow, theme.face, 0.3) : Darker(theme.accent, 0.35);
}

Image CheckCell(const Theme& theme, Mark mark, Look look) {
    Image cell = Cell(kCheckSize, kCheckSize);
    FillShape(cell, RoundedRect(0, 0, kCheckSize, kCheckSize, 2), BoxBorder(theme, look));
    FillShape(cell, RoundedRect(1, 1, kCheckSize - 1, kCheckSize - 1, 1), WellPaint(theme, look, kCheckSize));
    if (mark == Mark::Checked) FillShape(cell, CheckMark(2, 2, kCheckSize - 4, 1.9), MarkColour(theme, look));
    if (mark == Mark::Mixed)
        FillShape(cell, RoundedRect(4, 4, kCheckSize - 4, kCheckSize - 4, 1), MarkColour(theme, look));
    return cell;
}

Image RadioCell(const Theme& theme, bool checked, Look look) {
    Image cell = Cell(kCheckSize, kCheckSize);
    FillShape(cell, Ellipse(0, 0, kCheckSize, kCheckSize), BoxBorder(theme, look));
    FillShape(cell, Ellipse(1, 1, kCheckSize - 1, kCheckSize - 1), WellPaint(theme, look, kCheckSize));
    if (checked) {
        const Rgb dot = MarkColour(theme, look);
        FillShape(cell, Ellipse(3.5, 3.5, kCheckSize - 3.5, kCheckSize - 3.5),
                  Vertical(Gradient(Lighter(dot, 0.45), dot), 3.5, 9));
    }
    return cell;
}

// ---- Scroll bars ---------------------------------------------------------------------------

// Arrow cells of one direction: normal, pressed, disabled, hover.
std::vector<Image> ArrowCells(const Theme& theme, Direction direction) {
    const int size = theme.scrollSize;
    const double centre = size / 2.0;
    const Rgb rest = Mix(theme.face, theme.control, 0.6);
    std::vector<Image> cells;
    const Gloss looks[] = {MakeGloss(rest, theme.gloss * 0.7), Pressed(theme, theme.control), Gloss{},
                           Hot(theme, theme.control)};
    for (int state = 0; state < 4; ++state) {
        Image cell = Cell(size, size);
        const bool disabled = state == 2;
        if (!disabled)
            DrawGloss(cell, 0, 0, size, size, Radii::All(2),
                      WithBorder(looks[state], Mix(looks[state].border, theme.face, 0.3)));
        FillShape(cell, Arrow(centre, centre, 3.5, direction),
                  disabled ? FadedGlyph(theme, theme.arrowGlyph) : theme.arrowGlyph);
        cells.push_back(cell);
    }
    return cells;
}

// Grip cells of a horizontal thumb (lines across the bar): normal, dragged, hot.
std::vector<Image> GripCells(const Theme& theme) {
    const int size = theme.scrollSize;
    const int centre = size / 2;
    const Rgb bases[] = {theme.control, Mix(theme.control, theme.accent, 0.45), Mix(theme.control, theme.accent, 0.3)};
    std::vector<Image> cells;
    for (Rgb base : bases) {
        Image cell = Cell(size, size);
        for (int line = -1; line <= 1; ++line) {
            const int x = centre + 2 * line - 1;
            cell.FillRect(x, centre - 3, 1, 7, Darker(base, 0.45));
            cell.FillRect(x + 1, centre - 3, 1, 7, Lighter(base, 0.7));
        }
        cells.push_back(cell);
    }
    return cells;
}

// Track frames of a horizontal bar: normal, pressed, disabled, hot.
std::vector<Image> TrackFrames(const Theme& theme) {
    const int size = theme.scrollSize;
    const Rgb bases[] = {theme.face, Darker(theme.face, 0.08), theme.face, Mix(theme.face, theme.accent, 0.12)};
    std::vector<Image> frames;
    for (int state = 0; state < kTrackFrames; ++state) {
        const Rgb base = bases[state];
        Image cell = Cell(kTrackLength, size, base);
        if (state != 2) {
            FillShape(cell, RoundedRect(0, 0, kTrackLength, size, 0),
                      Vertical(Gradient({{0.0, Darker(base, 0.07)},
                                         {0.35, Lighter(base, 0.35 * theme.gloss + 0.05)},
                                         {1.0, base}}),
                               0, size));
            cell.FillRect(0, 0, kTrackLength, 1, Darker(base, 0.12));
            cell.FillRect(0, size - 1, kTrackLength, 1, Darker(base, 0.06));
        }
        frames.push_back(cell);
    }
    return frames;
}

std::vector<Image> ThumbFrames(const Theme& theme) {
    const int size = theme.scrollSize;
    const Gloss looks[] = {Normal(theme, theme.control), Pressed(theme, theme.control), Hot(theme, theme.control)};
    std::vector<Image> frames;
    for (const Gloss& look : looks) {
        Image cell = Cell(kThumbLength, size);
        DrawGloss(cell, 0, 1, kThumbLength, size - 1, Radii::All(3), look);
        frames.push_back(cell);
    }
    return frames;
}

// ---- Tabs ----------------------------------------------------------------------------------

Image TabCell(const Theme& theme, bool current, Rgb tint, bool disabled) {
    Image cell = Cell(kTabWidth, kTabHeight);
    const int top = current ? 0 : 2;
    const Rgb border = disabled ? Mix(theme.shadow, theme.face, 0.5) : theme.shadow;
    FillShape(cell, RoundedRect(0, top, kTabWidth, kTabHeight, Radii::Top(3)), border);
    const Rgb upper = current ? Lighter(theme.face, 0.7 * theme.gloss + 0.1)
                              : Lighter(Mix(theme.face, tint, 0.25), 0.45 * theme.gloss);
    const Rgb lower = current ? theme.face : Darker(Mix(theme.face, tint, 0.2), 0.03);
    const double fillBottom = current ? kTabHeight : kTabHeight - 1;
    FillShape(cell, RoundedRect(1, top + 1, kTabWidth - 1, fillBottom, Radii::Top(2)),
              Vertical(Gradient(disabled ? theme.face : upper, disabled ? theme.face : lower), top + 1, fillBottom));
    if (current) cell.FillRect(2, 1, kTabWidth - 4, 2, theme.accent);
    return cell;
}

// ---- Track-bar thumbs ----------------------------------------------------------------------

Image PlainThumb(const Gloss& look) {
    Image cell = Cell(kThumbCellWidth, kThumbCellHeight);
    DrawGloss(cell, 0, 0, kThumbCellWidth, kThumbCellHeight, Radii::All(3), look);
    return cell;
}

// A thumb pointing down: the outline's pentagon filled with a horizontal gloss.
Image PointedThumb(const Gloss& look) {
    Image cell = Cell(kThumbCellWidth, kThumbCellHeight);
    const double w = kThumbCellWidth;
    const double h = kThumbCellHeight;
    const double shoulder = h - w / 2 - 0.5;
    FillShape(cell, Polygon({{0, 0}, {w, 0}, {w, shoulder}, {w / 2, h}, {0, shoulder}}), look.border);
    FillShape(cell, Polygon({{1, 1}, {w - 1, 1}, {w - 1, shoulder - 0.4}, {w / 2, h - 1.4}, {1, shoulder - 0.4}}),
              Horizontal(Gradient({{0.0, look.top0}, {0.45, look.top1}, {0.5, look.bottom0}, {1.0, look.bottom1}}), 1,
                         w - 1));
    return cell;
}
}  // namespace

// ---- Window frame pictures -----------------------------------------------------------------

Image FrameSide(const Theme& theme, bool rightSide) {
    std::vector<Image> frames;
    for (bool active : {true, false}) {
        const Image window = ReferenceWindow(theme, active);
        const int width = rightSide ? theme.right : theme.left;
        frames.push_back(window.Crop(rightSide ? window.Width() - width : 0, 0, width, window.Height()));
    }
    return Image::SideBySide(frames);
}

Image FrameTop(const Theme& theme) {
    std::vector<Image> frames;
    for (bool active : {true, false}) {
        const Image window = ReferenceWindow(theme, active);
        frames.push_back(window.Crop(theme.left, 0, window.Width() - theme.left - theme.right, theme.caption));
    }
    return Image::Stacked(frames);
}

Image FrameBottom(const Theme& theme) {
    std::vector<Image> frames;
    for (bool active : {true, false}) {
        const Image window = ReferenceWindow(theme, active);
        frames.push_back(window.Crop(theme.left, window.Height() - theme.bottom,
                                     window.Width() - theme.left - theme.right, theme.bottom));
    }
    return Image::Stacked(frames);
}

// A soft plate behind the title, blended over the caption rows it will lie on; pixels where it
// would barely show stay transparent so the caption shows through.
Image CaptionTextBack(const Theme& theme) {
    const int width = 2 * theme.glowCap + kGlowMiddle;
    const double centre = theme.caption / 2.0;
    const double reach = centre - 1.5;
    std::vector<Image> frames;
    for (bool active : {true, false}) {
        Image cell = Cell(width, theme.caption);
        for (int y = 0; y < theme.caption; ++y) {
            const double dy = (y + 0.5 - centre) / reach;
            const double vertical = std::max(0.0, 1.0 - dy * dy);
            for (int x = 0; x < width; ++x) {
                const double edge = std::min(x + 0.5, width - x - 0.5) / theme.glowCap;
                const double horizontal = std::min(1.0, edge * edge * (3 - 2 * std::min(edge, 1.0)));
                const double share = theme.glowStrength * vertical * horizontal * (active ? 1.0 : 0.7);
                if (share >= 0.05) cell.Set(x, y, Mix(CaptionColour(theme, active, y + 0.5), theme.glow, share));
            }
        }
        frames.push_back(cell);
    }
    return Image::Stacked(frames);
}

Image MenuBar(const Theme& theme) {
    std::vector<Image> frames;
    for (bool active : {true, false}) {
        const Rgb base = active ? theme.menuBar : Mix(theme.menuBar, theme.chromeInactive, 0.5);
        Image cell = Cell(kMenuBarWidth, kMenuBarHeight, base);
        FillShape(cell, RoundedRect(0, 0, kMenuBarWidth, kMenuBarHeight, 0),
                  Vertical(Gradient(Lighter(base, 0.5 * theme.gloss + 0.05), base), 0, kMenuBarHeight));
        cell.FillRect(0, kMenuBarHeight - 1, kMenuBarWidth, 1, Darker(base, 0.12));
        frames.push_back(cell);
    }
    return Image::Stacked(frames);
}

Image CaptionButton(const Theme& theme, CaptionSymbol symbol) {
    const int width = symbol == CaptionSymbol::Close ? theme.closeWidth : theme.buttonWidth;
    return Image::SideBySide(
        CaptionButtonFrames(theme, symbol, width, theme.buttonHeight, theme.buttonRadius, theme.buttonHeight / 4));
}

// Three buttons of four frames: minimize, restore, close of a maximized MDI child. These buttons
// show frame 4 (not 3) under the mouse, so both carry the hot look.
Image MdiControls(const Theme& theme) {
    constexpr int kHotFrame = 2;
    constexpr int kMdiHotFrame = 3;
    std::vector<Image> frames;
    for (CaptionSymbol symbol : {CaptionSymbol::Minimize, CaptionSymbol::Restore, CaptionSymbol::Close}) {
        auto group = CaptionButtonFrames(theme, symbol, kMdiCellWidth, kMdiCellHeight, 2, 3);
        group[kMdiHotFrame] = group[kHotFrame];
        frames.insert(frames.end(), group.begin(), group.end());
    }
    return Image::SideBySide(frames);
}

// ---- Controls ------------------------------------------------------------------------------

Image PushButton(const Theme& theme) {
    Gloss focused = Normal(theme, theme.control);
    focused.border = Darker(theme.accent, 0.2);
    focused.shine = Lighter(theme.accent, 0.55);
    const Gloss looks[] = {Normal(theme, theme.control), Pressed(theme, theme.control), Disabled(theme, theme.control),
                           Hot(theme, theme.control), focused};
    std::vector<Image> frames;
    for (const Gloss& look : looks) {
        Image cell = Cell(kPushWidth, kPushHeight);
        DrawGloss(cell, 0, 0, kPushWidth, kPushHeight, Radii::All(theme.controlRadius), look);
        frames.push_back(cell);
    }
    return Image::SideBySide(frames);
}

Image CheckStrip(const Theme& theme) {
    std::vector<Image> frames;
    if (theme.extendedCheckStrips) {
        for (Mark mark : {Mark::None, Mark::Checked, Mark::Mixed})
            for (Look look : {Look::Normal, Look::Hot, Look::Pressed, Look::Disabled})
                frames.push_back(CheckCell(theme, mark, look));
    } else {
        frames = {CheckCell(theme, Mark::None, Look::Normal), CheckCell(theme, Mark::Checked, Look::Normal),
                  CheckCell(theme, Mark::None, Look::Disabled), CheckCell(theme, Mark::Checked, Look::Disabled)};
    }
    return Image::SideBySide(frames);
}

Image RadioStrip(const Theme& theme) {
    std::vector<Image> frames;
    if (theme.extendedCheckStrips) {
        for (bool checked : {false, true})
            for (Look look : {Look::Normal, Look::Hot, Look::Pressed, Look::Disabled})
                frames.push_back(RadioCell(theme, checked, look));
    } else {
        frames = {RadioCell(theme, false, Look::Normal), RadioCell(theme, true, Look::Normal),
                  RadioCell(theme, false, Look::Disabled), RadioCell(theme, true, Look::Disabled)};
    }
    return Image::SideBySide(frames);
}

// 23 square cells: left, right, up, down arrows (normal, pressed, disabled, hover each), the
// horizontal and vertical thumb grips (normal, dragged, hot each) and the corner square.
Image ScrollbarStrip(const Theme& theme) {
    std::vector<Image> cells;
    const auto left = ArrowCells(theme, Direction::Left);
    const auto right = ArrowCells(theme, Direction::Right);
    const auto grips = GripCells(theme);
    for (const auto* group : {&left, &right}) cells.insert(cells.end(), group->begin(), group->end());
    for (const auto* group : {&left, &right}) {
        const auto turned = Transposed(*group);
        cells.insert(cells.end(), turned.begin(), turned.end());
    }
    cells.insert(cells.end(), grips.begin(), grips.end());
    const auto turnedGrips = Transposed(grips);
    cells.insert(cells.end(), turnedGrips.begin(), turnedGrips.end());
    cells.push_back(Cell(theme.scrollSize, theme.scrollSize, theme.face));
    return Image::SideBySide(cells);
}

Image ScrollTrack(const Theme& theme, bool vertical) {
    const auto frames = TrackFrames(theme);
    return Image::SideBySide(vertical ? Transposed(frames) : frames);
}

Image ScrollThumb(const Theme& theme, bool vertical) {
    const auto frames = ThumbFrames(theme);
    return Image::SideBySide(vertical ? Transposed(frames) : frames);
}

// Style 0: frame 1 the empty channel, frame 2 the fill laid over the done part.
// Style 1 (chunk progress): the channel alone.
Image ProgressBar(const Theme& theme) {
    Image channel = Cell(kProgressWidth, kProgressHeight);
    FillShape(channel, RoundedRect(0, 0, kProgressWidth, kProgressHeight, 3), Mix(theme.shadow, theme.face, 0.2));
    FillShape(
        channel, RoundedRect(1, 1, kProgressWidth - 1, kProgressHeight - 1, 2),
        Vertical(
            Gradient({{0.0, Mix(theme.well, theme.shadow, 0.3)}, {0.4, Lighter(theme.well, 0.4)}, {1.0, theme.well}}),
            1, kProgressHeight - 1));
    if (theme.chunkProgress) return channel;
    Image fill = Cell(kProgressWidth, kProgressHeight);
    DrawGloss(fill, 1, 1, kProgressWidth - 1, kProgressHeight - 1, Radii::All(2), Normal(theme, theme.progress));
    return Image::SideBySide({channel, fill});
}

// One chunk and the gap after it.
Image ProgressChunk(const Theme& theme) {
    Image cell = Cell(kChunkWidth, kChunkHeight, theme.well);
    const Gloss look = Normal(theme, theme.progress);
    cell.FillRect(0, 0, kChunkWidth - 2, kChunkHeight, look.border);
    FillShape(cell, RoundedRect(1, 1, kChunkWidth - 3, kChunkHeight - 1, 0),
              Vertical(Gradient({{0.0, look.top0}, {0.5, look.top1}, {0.51, look.bottom0}, {1.0, look.bottom1}}), 1,
                       kChunkHeight - 1));
    return cell;
}

Image TabStrip(const Theme& theme) {
    return Image::SideBySide({TabCell(theme, false, theme.face, false), TabCell(theme, true, theme.face, false),
                              TabCell(theme, false, Mix(theme.face, theme.accent, theme.hotTint), false),
                              TabCell(theme, false, theme.face, true), TabCell(theme, true, theme.accent, false)});
}

Image TabPane(const Theme& theme) {
    Image pane = Cell(kPaneSize, kPaneSize, theme.face);
    pane.FillRect(0, 0, kPaneSize, kPaneSize, theme.shadow);
    pane.FillRect(1, 1, kPaneSize - 2, kPaneSize - 2, Lighter(theme.face, 0.6));
    pane.FillRect(2, 2, kPaneSize - 3, kPaneSize - 3, Darker(theme.face, 0.05));
    pane.FillRect(2, 2, kPaneSize - 4, kPaneSize - 4, theme.face);
    return pane;
}

// Lowered (also the whole bar of a simple status bar), raised, and no bevel. The painter copies
// these opaque, so rounded corners are filled with the face colour.
Image StatusBarEdges(const Theme& theme) {
    const Paint bar =
        Vertical(Gradient(Lighter(theme.face, 0.45 * theme.gloss + 0.05), Darker(theme.face, 0.04)), 0, kStatusHeight);
    Image lowered = Cell(kStatusWidth, kStatusHeight, theme.face);
    FillShape(lowered, RoundedRect(0, 0, kStatusWidth, kStatusHeight, 0), bar);
    lowered.FillRect(0, 0, kStatusWidth, 1, theme.shadow);
    lowered.FillRect(0, 1, kStatusWidth, 1, Lighter(theme.face, 0.6));

    Image raised = Cell(kStatusWidth, kStatusHeight, theme.face);
    DrawGloss(raised, 1, 2, kStatusWidth - 1, kStatusHeight - 1, Radii::All(2),
              WithBorder(Normal(theme, theme.face), Mix(theme.shadow, theme.face, 0.3)));

    Image flat = Cell(kStatusWidth, kStatusHeight, theme.face);
    FillShape(flat, RoundedRect(0, 0, kStatusWidth, kStatusHeight, 0), bar);
    return Image::SideBySide({lowered, raised, flat});
}

Image ComboButton(const Theme& theme) {
    const Gloss looks[] = {Normal(theme, theme.control), Pressed(theme, theme.control), Disabled(theme, theme.control),
                           Hot(theme, theme.control)};
    std::vector<Image> frames;
    for (int state = 0; state < kComboFrames; ++state) {
        Image cell = Cell(kComboWidth, kComboHeight);
        DrawGloss(cell, 0, 0, kComboWidth, kComboHeight, Radii::All(2), looks[state]);
        const Rgb arrow = state == 2 ? FadedGlyph(theme, theme.arrowGlyph) : theme.arrowGlyph;
        FillShape(cell, Arrow(kComboWidth / 2.0, kComboHeight / 2.0, 3.5, Direction::Down), arrow);
        frames.push_back(cell);
    }
    return Image::SideBySide(frames);
}

// Frames 1 to 4 are drawn over the combo button; the arrow is part of "ComboButton" (which also
// gives the date-time picker its arrow), so they stay transparent. Frame 5 is the size grip.
Image ExtraImages(const Theme& theme) {
    std::vector<Image> frames(kExtraFrames - 1, Cell(kExtraSize, kExtraSize));
    Image grip = Cell(kExtraSize, kExtraSize);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            if (row + column < 2) continue;
            const int x = 1 + 3 * column;
            const int y = 1 + 3 * row;
            grip.FillRect(x + 1, y + 1, 2, 2, theme.highlight);
            grip.FillRect(x, y, 2, 2, theme.darkShadow);
        }
    frames.push_back(grip);
    return Image::SideBySide(frames);
}

Image MenuItem(const Theme& theme) {
    Image empty = Cell(kMenuItemWidth, kMenuItemHeight);
    Image separator = Cell(kMenuItemWidth, kMenuItemHeight);
    const int line = kMenuItemHeight - 5;
    separator.FillRect(2, line, kMenuItemWidth - 4, 1, Mix(theme.shadow, theme.menu, 0.3));
    separator.FillRect(2, line + 1, kMenuItemWidth - 4, 1, Lighter(theme.menu, 0.7));
    Image selected = Cell(kMenuItemWidth, kMenuItemHeight);
    Gloss look = MakeGloss(theme.selection, theme.gloss * 0.8);
    look.border = Mix(theme.selection, theme.accent, 0.6);
    DrawGloss(selected, 0, 0, kMenuItemWidth, kMenuItemHeight, Radii::All(3), look);
    return Image::SideBySide({empty, separator, empty, selected, selected});
}

Image MenuBackground(const Theme& theme) {
    Image cell = Cell(kMenuBackgroundSize, kMenuBackgroundSize, theme.menu);
    cell.FillRect(0, 0, kMenuBackgroundSize, kMenuBackgroundSize, Darker(theme.menu, 0.35));
    cell.FillRect(1, 1, kMenuBackgroundSize - 2, kMenuBackgroundSize - 2, Lighter(theme.menu, 0.5));
    cell.FillRect(2, 2, kMenuBackgroundSize - 4, kMenuBackgroundSize - 4, Mix(theme.menu, theme.face, 0.5));
    cell.FillRect(3, 3, kMenuBackgroundSize - 6, kMenuBackgroundSize - 6, theme.menu);
    return cell;
}

// Normal, hot, pressed (and, for skins that leave the frame count to the engine, disabled and
// sorted).
Image HeaderBar(const Theme& theme) {
    const int count = theme.headerFrames > 0 ? theme.headerFrames : kEngineHeaderFrames;
    const Rgb bases[] = {theme.face,
                         Lighter(Mix(theme.face, theme.accent, 0.25 * theme.hotTint), 0.1 * (1 - theme.hotTint)),
                         Darker(Mix(theme.face, theme.accent, 0.15 * theme.hotTint), 0.1), theme.face, theme.face};
    std::vector<Image> frames;
    for (int state = 0; state < count; ++state) {
        const Rgb base = bases[std::min(state, 4)];
        Image cell = Cell(kHeaderWidth, kHeaderHeight, base);
        if (state != 3)
            FillShape(
                cell, RoundedRect(0, 0, kHeaderWidth, kHeaderHeight, 0),
                Vertical(Gradient(Lighter(base, 0.7 * theme.gloss + 0.05), Lighter(base, 0.1)), 0, kHeaderHeight));
        cell.FillRect(0, kHeaderHeight - 1, kHeaderWidth, 1, theme.shadow);
        cell.FillRect(kHeaderWidth - 2, 3, 1, kHeaderHeight - 6, Mix(theme.shadow, base, 0.3));
        cell.FillRect(kHeaderWidth - 1, 3, 1, kHeaderHeight - 6, Lighter(base, 0.6));
        if (state == 4) cell.FillRect(0, kHeaderHeight - 3, kHeaderWidth, 2, theme.accent);
        frames.push_back(cell);
    }
    return Image::SideBySide(frames);
}

// Five cells: rest, rest (the cell the engine draws), hot, pressed, disabled.
Image TrackThumb(const Theme& theme, ThumbShape shape, bool vertical) {
    const Gloss looks[] = {Normal(theme, theme.control), Normal(theme, theme.control), Hot(theme, theme.control),
                           Pressed(theme, theme.control), Disabled(theme, theme.control)};
    std::vector<Image> frames;
    for (const Gloss& look : looks) {
        Image cell;
        switch (shape) {
        case ThumbShape::Plain: cell = PlainThumb(look); break;
        case ThumbShape::PointDown:
        case ThumbShape::PointRight: cell = PointedThumb(look); break;
        case ThumbShape::PointUp:
        case ThumbShape::PointLeft: cell = PointedThumb(look).FlippedVertically(); break;
        }
        frames.push_back(vertical ? cell.Transposed() : cell);
    }
    return Image::SideBySide(frames);
}

// Halves of an up-down: first arrow (normal, pressed, disabled, hover), then the second arrow.
Image UpDownButtons(const Theme& theme, bool vertical) {
    const Gloss looks[] = {Normal(theme, theme.control), Pressed(theme, theme.control), Disabled(theme, theme.control),
                           Hot(theme, theme.control)};
    std::vector<Image> frames;
    for (int half = 0; half < 2; ++half)
        for (const Gloss& look : looks) {
            Image cell = Cell(kUpDownWidth, kUpDownHeight);
            DrawGloss(cell, 0, 0, kUpDownWidth, kUpDownHeight, Radii::All(2), look);
            frames.push_back(vertical ? cell : cell.Transposed());
        }
    return Image::SideBySide(frames);
}

// The arrows drawn at their natural size over the halves, cell for cell.
Image UpDownGlyphs(const Theme& theme, bool vertical) {
    const Rgb colours[] = {theme.arrowGlyph, Darker(theme.arrowGlyph, 0.2), FadedGlyph(theme, theme.arrowGlyph),
                           Darker(Mix(theme.arrowGlyph, theme.accent, 0.5), 0.1)};
    std::vector<Image> frames;
    for (Direction direction : {Direction::Up, Direction::Down})
        for (Rgb colour : colours) {
            Image cell = Cell(kUpDownGlyphWidth, kUpDownGlyphHeight);
            FillShape(cell, Arrow(kUpDownGlyphWidth / 2.0, kUpDownGlyphHeight / 2.0, 4, direction), colour);
            frames.push_back(vertical ? cell : cell.Transposed());
        }
    return Image::SideBySide(frames);
}
