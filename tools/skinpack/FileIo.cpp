#include "FileIo.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

std::vector<uint8_t> ReadWholeFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) throw TToolError("cannot read " + path.string() + ": not a regular file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw TToolError("cannot read " + path.string() + ": " + std::strerror(errno));
    std::vector<uint8_t> bytes(static_cast<size_t>(fs::file_size(path, ec)));
    if (ec) throw TToolError("cannot read " + path.string() + ": " + ec.message());
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
        throw TToolError("cannot read " + path.string() + ": short read");
    }
    return bytes;
}

void WriteFileAtomically(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) throw TToolError("cannot write " + path.string() + ": " + std::strerror(errno));
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            throw TToolError("cannot write " + path.string() + ": " + std::strerror(errno));
        }
    }
    std::error_code ec;
    if (fs::exists(path, ec)) fs::remove(path, ec);  // rename does not replace files everywhere
    fs::rename(partial, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw TToolError("cannot write " + path.string() + ": " + ec.message());
    }
}
