#include "app/CodeLookup.h"

#include <charconv>

std::string ByteCodes(std::string_view text) {
    std::string result;
    result.reserve(text.size() * 4);
    for (size_t i = 0; i < text.size(); ++i) {
        char digits[4];
        const auto value = static_cast<unsigned char>(text[i]);
        const auto [end, error] = std::to_chars(digits, digits + sizeof digits, static_cast<unsigned>(value));
        (void)error;  // at most three digits always fit
        result.append(digits, end);
        if (i + 1 < text.size()) result += ',';
    }
    return result;
}

std::string PublisherAddress(std::string_view version) {
    std::string address = "http://";
    address += kPublisherHost;
    address += "/?qq=Quirn";
    address += version;
    return address;
}
