// skinpack: builds, lists and unpacks skin packages, and runs the raw LZH
// codec on files in the package's framing.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "FileIo.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinArchiveWriter.h"
#include "skin/data/SkinRead.h"

namespace fs = std::filesystem;

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;
constexpr uint64_t RawDecodeLimit = 0xFFFFFFFFu;  // the framing's size field bounds it

void PrintUsage() {
    std::fputs(
        "usage: skinpack pack DIR OUT      pack every file of a skin folder (INI first, version 60000)\n"
        "       skinpack unpack PKG DIR    write every file of a package into DIR\n"
        "       skinpack list PKG          show the package's files as the skin reader sees them\n"
        "       skinpack encode IN OUT     LZH-code IN (4-byte unpacked size, then the bit stream)\n"
        "       skinpack decode IN OUT     expand a stream in that framing\n",
        stderr);
}

bool IsIniName(const std::string& name) {
    const std::string lower = LowerCase(name);
    return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".ini") == 0;
}

int Pack(const fs::path& dir, const fs::path& out) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) throw TToolError(dir.string() + " is not a folder");
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file()) {
            names.push_back(name);
        } else {
            std::fprintf(stderr, "skinpack: skipping %s (not a file)\n", name.c_str());
        }
    }
    if (names.empty()) throw TToolError(dir.string() + " holds no files");
    // The INI first (the engine takes the first name containing ".ini"),
    // then the rest in case-insensitive name order.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const bool iniA = IsIniName(a), iniB = IsIniName(b);
        if (iniA != iniB) return iniA;
        const std::string lowerA = LowerCase(a), lowerB = LowerCase(b);
        return lowerA != lowerB ? lowerA < lowerB : a < b;
    });
    const auto inis = std::count_if(names.begin(), names.end(), IsIniName);
    if (inis == 0) std::fprintf(stderr, "skinpack: warning: %s holds no .ini file\n", dir.string().c_str());
    if (inis > 1) std::fprintf(stderr, "skinpack: warning: several .ini files; the engine uses %s\n", names[0].c_str());
    for (size_t i = 1; i < names.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            if (SameText(names[i], names[j])) {
                throw TToolError("\"" + names[j] + "\" and \"" + names[i] + "\" differ only in case");
            }
        }
    }

    std::vector<TSkinPackageFile> files;
    for (const std::string& name : names) files.push_back({name, ReadWholeFile(dir / name)});
    std::vector<uint8_t> package;
    try {
        package = BuildSkinPackage(files);
    } catch (const std::invalid_argument& e) {
        throw TToolError(e.what());
    }
    WriteFileAtomically(out, package);
    std::printf("packed %zu files into %s (%zu bytes)\n", files.size(), out.string().c_str(), package.size());
    return 0;
}

// Reads a package file into a reader; throws when the reader refuses it.
void ReadPackageFile(const fs::path& path, TMemoryStream& package, TSkinReader& reader) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    if (!bytes.empty()) package.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    if (!reader.ReadPackage(package)) throw TToolError(path.string() + " is not a readable skin package");
}

// The names as stored (the reader keeps them lower-cased), split the same way.
std::vector<std::string> StoredNames(TMemoryStream& package, const TSkinReader& reader) {
    TMemoryStream archive;
    TSkinReader::ExpandPackage(package, archive);
    const int64_t start = SkinHeaderSize + SkinExtraBlockLength(reader.Version());
    TStringList names;
    names.SetText(std::string_view(reinterpret_cast<const char*>(archive.Memory() + start),
                                   static_cast<size_t>(reader.NameListLength())));
    std::vector<std::string> result;
    for (int32_t i = 0; i < names.Count(); ++i) result.push_back(names.Strings(i));
    return result;
}

// A name as text a terminal shows as it is: control bytes (and the
// backslash that introduces the escapes) are written as \xNN and \\.
std::string Printable(std::string_view name) {
    constexpr unsigned char Delete = 0x7F;
    std::string text;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            text += "\\\\";
        } else if (byte < ' ' || byte == Delete) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            text += escape;
        } else {
            text += c;
        }
    }
    return text;
}

// Windows opens a device for these names, with any extension and letter
// case ("con.txt", "Com1.bmp"): a member so named would never reach a file.
constexpr std::string_view DeviceNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
constexpr std::string_view NumberedDevices[] = {"COM", "LPT"};
// The digits the numbered devices take: 0 to 9, and superscript 1, 2, 3 (in
// the ANSI code page and in UTF-8).
constexpr std::string_view DeviceDigits[] = {"0", "1", "2",    "3",    "4",    "5",        "6",        "7",
                                             "8", "9", "\xB9", "\xB2", "\xB3", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};

bool IsDeviceName(std::string_view name) {
    // The part before the first dot, without the blanks Windows drops.
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    const std::string upper = UpperCase(base);
    if (std::find(std::begin(DeviceNames), std::end(DeviceNames), upper) != std::end(DeviceNames)) return true;
    return std::any_of(std::begin(NumberedDevices), std::end(NumberedDevices), [&](std::string_view device) {
        return upper.size() > device.size() && upper.compare(0, device.size(), device) == 0 &&
               std::find(std::begin(DeviceDigits), std::end(DeviceDigits),
                         std::string_view(upper).substr(device.size())) != std::end(DeviceDigits);
    });
}

// A plain file name that means the same file everywhere: no path, no
// control characters or characters Windows refuses, no device name, and no
// trailing dot or space (Windows drops them, so "a.bmp." would overwrite
// "a.bmp" behind the duplicate check).
bool IsSafeFileName(const std::string& name) {
    constexpr std::string_view WindowsReserved = "<>:\"/\\|?*";
    if (name.empty() || name == "." || name == "..") return false;
    if (name.back() == '.' || name.back() == ' ' || IsDeviceName(name)) return false;
    return std::none_of(name.begin(), name.end(), [&](char c) {
        return static_cast<unsigned char>(c) < ' ' || WindowsReserved.find(c) != std::string_view::npos;
    });
}

int Unpack(const fs::path& packagePath, const fs::path& dir) {
    TMemoryStream package;
    TSkinReader reader;
    ReadPackageFile(packagePath, package, reader);
    const std::vector<std::string> names = StoredNames(package, reader);

    // Check everything before the first file is written.
    std::vector<int32_t> chosen;
    for (int32_t i = 0; i < reader.Count(); ++i) {
        const std::string& name = names[static_cast<size_t>(i)];
        if (!IsSafeFileName(name)) throw TToolError("member name \"" + Printable(name) + "\" is not a plain file name");
        if (!reader.Intact(i))
            throw TToolError("member \"" + Printable(name) + "\" is damaged (its size runs past the data)");
        const bool duplicate = std::any_of(chosen.begin(), chosen.end(), [&](int32_t j) {
            return reader.Names().Strings(j) == reader.Names().Strings(i);
        });
        if (duplicate) {
            std::fprintf(stderr, "skinpack: skipping second \"%s\" (the reader uses the first)\n",
                         Printable(name).c_str());
            continue;
        }
        chosen.push_back(i);
    }

    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) throw TToolError("cannot create " + dir.string() + ": " + ec.message());
    std::vector<fs::path> written;
    try {
        for (int32_t i : chosen) {
            TMemoryStream member;
            reader.ExtractFile(reader.Names().Strings(i), member);
            const fs::path target = dir / names[static_cast<size_t>(i)];
            WriteFileAtomically(target, std::vector<uint8_t>(member.Memory(), member.Memory() + member.Size()));
            written.push_back(target);
        }
    } catch (...) {
        for (const fs::path& path : written) fs::remove(path, ec);
        throw;
    }
    std::printf("unpacked %zu files into %s\n", chosen.size(), dir.string().c_str());
    return 0;
}

int List(const fs::path& packagePath) {
    TMemoryStream package;
    TSkinReader reader;
    ReadPackageFile(packagePath, package, reader);
    std::printf("version %u, %d files\n", reader.Version(), reader.Count());
    for (int32_t i = 0; i < reader.Count(); ++i) {
        std::printf("%10d  %s%s\n", reader.Sizes(i), Printable(reader.Names().Strings(i)).c_str(),
                    reader.Intact(i) ? "" : "  (damaged)");
    }
    return 0;
}

int Encode(const fs::path& in, const fs::path& out) {
    const std::vector<uint8_t> data = ReadWholeFile(in);
    std::vector<uint8_t> coded;
    try {
        coded = LzhCompressFramed(data);
    } catch (const std::length_error& e) {
        throw TToolError(e.what());
    }
    WriteFileAtomically(out, coded);
    std::printf("encoded %zu bytes into %zu\n", data.size(), coded.size());
    return 0;
}

int Decode(const fs::path& in, const fs::path& out) {
    const std::vector<uint8_t> coded = ReadWholeFile(in);
    std::vector<uint8_t> data;
    if (!LzhExpandFramed(coded.data(), coded.size(), data, RawDecodeLimit)) {
        throw TToolError(in.string() +
                         " is not an LZH stream in the package framing (too short, or its size "
                         "field asks for more than its bytes can hold)");
    }
    WriteFileAtomically(out, data);
    std::printf("decoded %zu bytes into %zu\n", coded.size(), data.size());
    return 0;
}

int Run(int argc, char** argv) {
    if (argc < 3) return PrintUsage(), ExitUsage;
    const std::string_view command = argv[1];
    if (command == "list" && argc == 3) return List(argv[2]);
    if (argc != 4) return PrintUsage(), ExitUsage;
    if (command == "pack") return Pack(argv[2], argv[3]);
    if (command == "unpack") return Unpack(argv[2], argv[3]);
    if (command == "encode") return Encode(argv[2], argv[3]);
    if (command == "decode") return Decode(argv[2], argv[3]);
    return PrintUsage(), ExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    TSkinReader::SetMessageProc([](const std::string& text) {
        std::string line = text;
        std::replace(line.begin(), line.end(), '\r', ' ');
        std::fprintf(stderr, "skinpack: %s\n", line.c_str());
    });
    try {
        return Run(argc, argv);
    } catch (const TToolError& e) {
        std::fprintf(stderr, "skinpack: %s\n", e.what());
    } catch (const Exception& e) {
        std::fprintf(stderr, "skinpack: %s\n", e.Message().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinpack: %s\n", e.what());
    }
    return ExitFailure;
}
