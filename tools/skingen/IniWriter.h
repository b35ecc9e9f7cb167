// IniText: builds a skin definition file section by section, keys in the order they are added,
// lines ending in CR LF.
#pragma once

#include <string>
#include <string_view>

#include "tools/skingen/Image.h"

class IniText {
public:
    void Comment(std::string_view text);
    void Section(std::string_view name);
    void Key(std::string_view name, std::string_view value);
    void Key(std::string_view name, int value);
    // "red green blue", the form the colour keys take.
    void Key(std::string_view name, Rgb colour);
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

std::string ColourText(Rgb colour);
