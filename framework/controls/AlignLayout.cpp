#include "framework/controls/AlignLayout.h"

#include <algorithm>


namespace {

struct Area {
    int32_t Left, Top, Right, Bottom;
};

std::vector<size_t> OrderedIndexes(const std::vector<TAlignItem>& items, TAlign align) {
    std::vector<size_t> order;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].Align == align) order.push_back(i);
    auto key = [&](size_t i) -> int64_t {
        const TLayoutBounds& b = items[i].Bounds;
        switch (align) {
        case alTop: return b.Top;
        case alBottom: return -(int64_t(b.Top) + b.Height);
        case alLeft: return b.Left;
        case alRight: return -(int64_t(b.Left) + b.Width);
        default: return 0;
        }
    };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (key(a) != key(b)) return key(a) < key(b);
        return items[a].Moving && !items[b].Moving;
    });
    return order;
}

int32_t NonNegative(int64_t value) { return value < 0 ? 0 : static_cast<int32_t>(value); }

}  // namespace

std::vector<TLayoutBounds> AlignLayout(const TLayoutBounds& clientArea, const std::vector<TAlignItem>& items) {
    std::vector<TLayoutBounds> result(items.size());
    for (size_t i = 0; i < items.size(); ++i) result[i] = items[i].Bounds;

    Area area{clientArea.Left, clientArea.Top, clientArea.Left + std::max(clientArea.Width, 0),
              clientArea.Top + std::max(clientArea.Height, 0)};

    for (size_t i : OrderedIndexes(items, alTop)) {
        const int32_t height = std::max(items[i].Bounds.Height, 0);
        result[i] = {area.Left, area.Top, area.Right - area.Left, height};
        area.Top = std::min(area.Top + height, area.Bottom);
    }
    for (size_t i : OrderedIndexes(items, alBottom)) {
        const int32_t height = std::max(items[i].Bounds.Height, 0);
        result[i] = {area.Left, area.Bottom - height, area.Right - area.Left, height};
        area.Bottom = std::max(area.Bottom - height, area.Top);
    }
    for (size_t i : OrderedIndexes(items, alLeft)) {
        const int32_t width = std::max(items[i].Bounds.Width, 0);
        result[i] = {area.Left, area.Top, width, area.Bottom - area.Top};
        area.Left = std::min(area.Left + width, area.Right);
    }
    for (size_t i : OrderedIndexes(items, alRight)) {
        const int32_t width = std::max(items[i].Bounds.Width, 0);
        result[i] = {area.Right - width, area.Top, width, area.Bottom - area.Top};
        area.Right = std::max(area.Right - width, area.Left);
    }
    for (size_t i : OrderedIndexes(items, alClient))
        result[i] = {area.Left, area.Top, NonNegative(int64_t(area.Right) - area.Left),
                     NonNegative(int64_t(area.Bottom) - area.Top)};
    return result;
}
