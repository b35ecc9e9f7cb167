// LayerCheck.h: reads the #include "..." lines of the layered folders (framework/, skin/, app/) and reports
// every include that points up the layer order, and every circle of includes between files, with the file
// and line of each include involved.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace layercheck {

// The layers, lowest first: a file may include files of its own layer and of the layers before it. A file
// belongs to the layer whose folder its path starts with.
const std::vector<std::string>& LayerOrder();

// One fault found: where (the include's file, relative to the root, and line) and what.
struct Finding {
    std::string File;
    int32_t Line = 0;
    std::string Message;
};

// Checks the tree under root. An include is looked up beside the including file first, then from the root;
// includes of files outside the layered folders (the standard library, Win32, GoogleTest, generated files)
// are not followed. A header and the source of the same name in the same folder count as one file for the
// circles, so a.cpp including b.h while b.cpp includes a.h is a circle.
std::vector<Finding> CheckLayers(const std::filesystem::path& root);

// "file:line: message", one finding per line.
std::string FormatFindings(const std::vector<Finding>& findings);

}  // namespace layercheck
