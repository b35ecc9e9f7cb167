// Element painters: one function per skin bitmap, each laying its cells out exactly as the
// engine's painter of that element cuts them (frame order, side by side or stacked, margins).
#pragma once

#include "tools/skingen/Drawing.h"
#include "tools/skingen/Image.h"
#include "tools/skingen/Theme.h"

// Cell sizes and nine-slice margins shared by the painters and the definition file.
namespace cells {
constexpr int kFrameCap = 8;             // fixed ends of the caption and bottom strips
constexpr int kFrameMiddle = 16;         // stretched middle of the four frame sides
constexpr int kGlowMiddle = 8;           // repeated middle of the caption text background
constexpr int kCaptionButtonFrames = 4;  // normal, pressed, hot, inactive or disabled
constexpr int kMdiCellWidth = 16;        // the MDI strip holds 3 buttons x 4 frames
constexpr int kMdiCellHeight = 14;
constexpr int kMdiButtons = 3;
constexpr int kPushWidth = 32;
constexpr int kPushHeight = 24;
constexpr int kPushMargin = 4;
constexpr int kPushFrames = 5;  // normal, pressed, disabled, hover, focused or default
constexpr int kCheckSize = 13;
constexpr int kScrollCells = 23;
constexpr int kTrackLength = 24;
constexpr int kTrackFrames = 4;
constexpr int kTrackMargin = 2;
constexpr int kThumbLength = 24;
constexpr int kThumbFrames = 3;  // normal, dragged, hot
constexpr int kThumbMargin = 4;
constexpr int kProgressWidth = 24;
constexpr int kProgressHeight = 16;
constexpr int kProgressMargin = 3;
constexpr int kChunkWidth = 8;
constexpr int kChunkHeight = 10;
constexpr int kTabWidth = 44;
constexpr int kTabHeight = 22;
constexpr int kTabFrames = 5;  // normal, current, hot, disabled, current with focus
constexpr int kTabSideMargin = 4;
constexpr int kTabTopMargin = 4;
constexpr int kTabBottomMargin = 3;
constexpr int kPaneSize = 24;
constexpr int kPaneMargin = 4;
constexpr int kStatusWidth = 16;
constexpr int kStatusHeight = 22;
constexpr int kStatusMargin = 3;
constexpr int kStatusFrames = 3;  // lowered, raised, no bevel
constexpr int kComboWidth = 18;
constexpr int kComboHeight = 21;
constexpr int kComboFrames = 4;  // normal, pressed, disabled, hover or focused
constexpr int kComboMargin = 3;
constexpr int kExtraSize = 12;
constexpr int kExtraFrames = 5;  // 1-4 over the combo button, 5 the size grip
constexpr int kMenuItemWidth = 24;
constexpr int kMenuItemHeight = 20;
constexpr int kMenuItemFrames = 5;  // normal, separator, (unused), selected, (selected)
constexpr int kMenuItemMargin = 4;
constexpr int kMenuBackgroundSize = 32;
constexpr int kMenuBackgroundMargin = 4;
constexpr int kMenuBarWidth = 16;
constexpr int kMenuBarHeight = 20;
constexpr int kHeaderWidth = 24;
constexpr int kHeaderHeight = 20;
constexpr int kHeaderMargin = 2;
constexpr int kEngineHeaderFrames = 5;  // what the engine assumes without a frame key
constexpr int kThumbCellWidth = 11;     // track-bar thumb of a horizontal track
constexpr int kThumbCellHeight = 21;
constexpr int kTrackThumbFrames = 5;  // the engine draws cell 2
constexpr int kUpDownWidth = 17;      // one half of a vertical up-down
constexpr int kUpDownHeight = 11;
constexpr int kUpDownFrames = 8;  // first arrow 1-4, second arrow 5-8
constexpr int kUpDownGlyphWidth = 9;
constexpr int kUpDownGlyphHeight = 5;
constexpr int kLegacyCheckCells = 4;
constexpr int kExtendedCheckCells = 12;
constexpr int kExtendedRadioCells = 8;
}  // namespace cells

enum class CaptionSymbol { Close, Maximize, Restore, Minimize };
enum class ThumbShape { Plain, PointUp, PointDown, PointLeft, PointRight };

Image FrameSide(const Theme& theme, bool rightSide);  // "Left" / "Right": 2 frames side by side
Image FrameTop(const Theme& theme);                   // "Top": 2 frames stacked
Image FrameBottom(const Theme& theme);                // "Bottom": 2 frames stacked
Image CaptionTextBack(const Theme& theme);            // "TextBack": 2 frames stacked
Image MenuBar(const Theme& theme);                    // "menuBar": 2 frames stacked
Image CaptionButton(const Theme& theme, CaptionSymbol symbol);
Image MdiControls(const Theme& theme);
Image PushButton(const Theme& theme);
Image CheckStrip(const Theme& theme);
Image RadioStrip(const Theme& theme);
Image ScrollbarStrip(const Theme& theme);
Image ScrollTrack(const Theme& theme, bool vertical);
Image ScrollThumb(const Theme& theme, bool vertical);
Image ProgressBar(const Theme& theme);
Image ProgressChunk(const Theme& theme);
Image TabStrip(const Theme& theme);
Image TabPane(const Theme& theme);
Image StatusBarEdges(const Theme& theme);
Image ComboButton(const Theme& theme);
Image ExtraImages(const Theme& theme);
Image MenuItem(const Theme& theme);
Image MenuBackground(const Theme& theme);
Image HeaderBar(const Theme& theme);
Image TrackThumb(const Theme& theme, ThumbShape shape, bool vertical);
Image UpDownButtons(const Theme& theme, bool vertical);
Image UpDownGlyphs(const Theme& theme, bool vertical);
