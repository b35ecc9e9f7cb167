// CodeLookup.h: the tool's two pieces of logic, free of windows so tests can
// call them: the byte codes of a text, and the publisher link address.
#pragma once

#include <string>
#include <string_view>

// The unsigned decimal value of every byte of text, joined by "," (no blanks,
// no trailing comma). Any length is converted whole.
std::string ByteCodes(std::string_view text);

// The publisher's web page with the program's name and version in the query:
// "http://" host "/?qq=Quirn" version.
std::string PublisherAddress(std::string_view version);

// The publisher's host (a neutral host of the project's own).
inline constexpr std::string_view kPublisherHost = "quirn.example.org";
