// The state enumerations of the skinner families and, for each, the table from state to the frame
// number of its skin element (frames counted from 1), so the paint code names states, not numbers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// --- Button-like elements ("Buttons": push buttons, bitmap and speed buttons, tool-bar buttons) ---
enum class TButtonLook : uint8_t { Normal, Pressed, Disabled, Hover, FocusedOrDefault };
constexpr std::array<int32_t, 5> ButtonLookFrames{1, 2, 3, 4, 5};
constexpr int32_t ButtonLookFrameCount = static_cast<int32_t>(ButtonLookFrames.size());
constexpr int32_t FrameOf(TButtonLook look) { return ButtonLookFrames[static_cast<size_t>(look)]; }

// The look a button shows: a disabled button always looks disabled; otherwise pressed before hover
// before focused or default.
constexpr TButtonLook ButtonLookOf(bool enabled, bool pressed, bool hover, bool focusedOrDefault) {
    if (!enabled) return TButtonLook::Disabled;
    if (pressed) return TButtonLook::Pressed;
    if (hover) return TButtonLook::Hover;
    if (focusedOrDefault) return TButtonLook::FocusedOrDefault;
    return TButtonLook::Normal;
}

// --- Status-bar panel edges ("StatusBarEdges", three frames side by side) ---
enum class TPanelEdgeLook : uint8_t { Lowered, Raised, Flat };
constexpr std::array<int32_t, 3> PanelEdgeFrames{1, 2, 3};
constexpr int32_t PanelEdgeFrameCount = static_cast<int32_t>(PanelEdgeFrames.size());
constexpr int32_t FrameOf(TPanelEdgeLook look) { return PanelEdgeFrames[static_cast<size_t>(look)]; }

// --- "ExtraImages": the size grip is its fifth frame ---
constexpr int32_t SizeGripFrame = 5;

// --- Scroll bars ---
// "Scrollbar": a strip of 23 equal cells. Each picture starts at a cell; its looks follow it.
enum class TScrollPicture : uint8_t { LeftArrow, RightArrow, UpArrow, DownArrow, HorzGrip, VertGrip };
constexpr std::array<int32_t, 6> ScrollPictureCells{1, 5, 9, 13, 17, 20};
constexpr int32_t ScrollbarCellCount = 23;
// The look of an arrow, a grip or a thumb: pressed while the system scrolls with it, hover while the
// cursor is over it.
enum class TScrollPartLook : uint8_t { Normal, Pressed, Hover };
// Cells after a picture's first: arrows have normal, pressed, disabled and hover cells; grips normal,
// pressed and hover.
constexpr std::array<int32_t, 3> ScrollArrowCellSteps{0, 1, 3};
constexpr std::array<int32_t, 3> ScrollGripCellSteps{0, 1, 2};
constexpr int32_t CellOf(TScrollPicture picture, TScrollPartLook look) {
    const bool grip = picture == TScrollPicture::HorzGrip || picture == TScrollPicture::VertGrip;
    const auto& steps = grip ? ScrollGripCellSteps : ScrollArrowCellSteps;
    return ScrollPictureCells[static_cast<size_t>(picture)] + steps[static_cast<size_t>(look)];
}
// "VertScroll" and "HorzScroll" (the track): four frames, the first enabled, the third disabled.
enum class TScrollTrackLook : uint8_t { Enabled, Disabled };
constexpr std::array<int32_t, 2> ScrollTrackFrames{1, 3};
constexpr int32_t ScrollTrackFrameCount = 4;
constexpr int32_t FrameOf(TScrollTrackLook look) { return ScrollTrackFrames[static_cast<size_t>(look)]; }
// "VertScrollThumb" and "HorzScrollThumb": normal, pressed and hover frames.
constexpr std::array<int32_t, 3> ScrollThumbFrames{1, 2, 3};
constexpr int32_t FrameOf(TScrollPartLook look) { return ScrollThumbFrames[static_cast<size_t>(look)]; }
