#include "FileIo.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr int CreateFlags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY;
constexpr int CreateMode = _S_IREAD | _S_IWRITE;
int OpenFile(const fs::path& path) { return ::_wopen(path.c_str(), CreateFlags, CreateMode); }
int WriteSome(int fd, const uint8_t* data, size_t count) {
    return ::_write(fd, data, static_cast<unsigned>(std::min<size_t>(count, 1u << 30)));
}
int CloseFile(int fd) { return ::_close(fd); }
int ProcessId() { return ::_getpid(); }
#else
// O_EXCL with O_CREAT fails on any existing name, a symbolic link included:
// the file made is always a new one.
constexpr int CreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
constexpr mode_t CreateMode = 0666;  // narrowed by the umask, as for any new file
int OpenFile(const fs::path& path) { return ::open(path.c_str(), CreateFlags, CreateMode); }
ssize_t WriteSome(int fd, const uint8_t* data, size_t count) { return ::write(fd, data, count); }
int CloseFile(int fd) { return ::close(fd); }
int ProcessId() { return static_cast<int>(::getpid()); }
#endif

// Attempts at a fresh temporary name before giving up: a clash means someone
// else made files of that pattern, and a few more random names get past it.
constexpr int TemporaryAttempts = 16;
constexpr const char* TemporarySuffix = ".skinpack-tmp";

std::string ErrorText(int error) { return std::generic_category().message(error); }

// A new, empty file beside path with a random name, created exclusively;
// returns its descriptor and sets temporary to its path.
int CreateTemporary(const fs::path& path, fs::path& temporary) {
    static std::mt19937_64 random(std::random_device{}() ^
                                  static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                                  (static_cast<uint64_t>(ProcessId()) << 32));
    int error = 0;
    for (int attempt = 0; attempt < TemporaryAttempts; ++attempt) {
        char tag[24];
        std::snprintf(tag, sizeof tag, ".%016llx", static_cast<unsigned long long>(random()));
        temporary = path;
        temporary += tag;
        temporary += TemporarySuffix;
        const int fd = OpenFile(temporary);
        if (fd >= 0) return fd;
        error = errno;
        if (error != EEXIST) break;
    }
    throw TToolError("cannot write " + path.string() + ": " + ErrorText(error));
}

// Writes all bytes; false (errno set) on failure.
bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const auto written = WriteSome(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

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
    fs::path temporary;
    const int fd = CreateTemporary(path, temporary);
    const bool written = WriteAll(fd, bytes);
    int error = written ? 0 : errno;
    if (CloseFile(fd) != 0 && written) error = errno;
    std::error_code ignored;
    if (error != 0) {
        fs::remove(temporary, ignored);
        throw TToolError("cannot write " + path.string() + ": " + ErrorText(error));
    }
    std::error_code ec;
    // rename does not replace files everywhere; a link at path is removed, not followed.
    if (fs::exists(fs::symlink_status(path, ec))) fs::remove(path, ec);
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ignored);
        throw TToolError("cannot write " + path.string() + ": " + ec.message());
    }
}
