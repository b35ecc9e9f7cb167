// AlignLayout.h: the arithmetic of Align. Given a parent's client rectangle and
// the bounds of its aligned children, computes where each child goes. Pure: the
// controls feed it their bounds and apply the answer.
#pragma once

#include <cstdint>
#include <vector>

// Where a control goes inside its parent: stacked against an edge, filling
// what is left (alClient), or where its bounds say (alNone, alCustom).
enum class TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using enum TAlign;

// A rectangle as left, top and size, in pixels.
struct TLayoutBounds {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    friend bool operator==(const TLayoutBounds&, const TLayoutBounds&) = default;
};

// One child as the layout sees it.
struct TAlignItem {
    TAlign Align = alNone;
    TLayoutBounds Bounds;  // current bounds, relative to the parent's client origin
    bool Moving = false;   // the control just placed or realigned: it wins ties
};

// Lays the items out in the client area (Left/Top/Width/Height of the area).
// alTop controls stack downward in the order of their current Top, alBottom
// controls upward from the one lowest placed, alLeft rightward by Left,
// alRight leftward from the one placed furthest right, and alClient takes what
// is left. Ties go to the Moving item (a control just given its Align or
// bounds goes where it was put), then keep the items' order (creation order). Each aligned item
// keeps its own extent across the stacking direction's axis (height for
// alTop/alBottom, width for alLeft/alRight); the remaining area never inverts.
// alNone and alCustom items keep their bounds. Returns one result per item.
std::vector<TLayoutBounds> AlignLayout(const TLayoutBounds& clientArea, const std::vector<TAlignItem>& items);
