#include "tools/skingen/IniWriter.h"

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}

std::string ColourText(Rgb colour) {
    return std::to_string(colour.r) + " " + std::to_string(colour.g) + " " + std::to_string(colour.b);
}

void IniText::Comment(std::string_view text) {
    text_ += "; ";
    text_ += text;
    text_ += kLineEnd;
}

void IniText::Section(std::string_view name) {
    if (!text_.empty()) text_ += kLineEnd;
    text_ += "[";
    text_ += name;
    text_ += "]";
    text_ += kLineEnd;
}

void IniText::Key(std::string_view name, std::string_view value) {
    text_ += name;
    text_ += "=";
    text_ += value;
    text_ += kLineEnd;
}

void IniText::Key(std::string_view name, int value) { Key(name, std::to_string(value)); }

void IniText::Key(std::string_view name, Rgb colour) { Key(name, ColourText(colour)); }
