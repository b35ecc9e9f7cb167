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
constexpr int32_t FrameOf(TButtonLook Look) { return ButtonLookFrames[static_cast<size_t>(Look)]; }

// The look a button shows: a disabled button always looks disabled; otherwise pressed before hover
// before focused or default.
constexpr TButtonLook ButtonLookOf(bool Enabled, bool Pressed, bool Hover, bool FocusedOrDefault) {
    if (!Enabled) return TButtonLook::Disabled;
    if (Pressed) return TButtonLook::Pressed;
    if (Hover) return TButtonLook::Hover;
    if (FocusedOrDefault) return TButtonLook::FocusedOrDefault;
    return TButtonLook::Normal;
}

// --- Status-bar panel edges ("StatusBarEdges", three frames side by side) ---
enum class TPanelEdgeLook : uint8_t { Lowered, Raised, Flat };
constexpr std::array<int32_t, 3> PanelEdgeFrames{1, 2, 3};
constexpr int32_t PanelEdgeFrameCount = static_cast<int32_t>(PanelEdgeFrames.size());
constexpr int32_t FrameOf(TPanelEdgeLook Look) { return PanelEdgeFrames[static_cast<size_t>(Look)]; }

// --- "ExtraImages": the size grip is its fifth frame ---
constexpr int32_t SizeGripFrame = 5;
