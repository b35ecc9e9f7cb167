// File helpers of the skin packer: whole-file reads and all-or-nothing
// writes (a failed write never leaves a file that looks complete).
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

// A failure the tool reports to the user and exits non-zero for.
class TToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path);

// Writes to a new temporary file beside path (a random name, created
// exclusively: never an existing file or a link), then renames it over path.
void WriteFileAtomically(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
