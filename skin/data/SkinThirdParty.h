// The default Skin3rd list: class names of controls from other component
// libraries and the kind of skinner each gets, one "Class=kind" line each.
#pragma once

#include <array>
#include <string_view>

inline constexpr size_t DefaultSkin3rdCount = 118;
extern const std::array<std::string_view, DefaultSkin3rdCount> DefaultSkin3rd;
