// SkinArchiveWriter: skin archive and package building.
#include "skin/data/SkinArchiveWriter.h"

#include <limits>
#include <stdexcept>

#include "skin/data/LzhEncoder.h"

namespace {

constexpr std::string_view LineBreak = "\r\n";

void AppendLE32(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t bytes[4];
    WriteLE32(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}

}  // namespace

std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinPackageFile>& files, uint32_t version) {
    const int32_t extraLength = SkinExtraBlockLength(version);
    if (extraLength < 0) throw std::invalid_argument("unknown skin package version " + std::to_string(version));

    if (files.size() > static_cast<size_t>(SkinMaxFiles)) {
        throw std::invalid_argument("a skin package holds at most " + std::to_string(SkinMaxFiles) + " files");
    }
    std::string nameList;
    uint64_t dataSize = 0;
    for (const TSkinPackageFile& file : files) {
        if (file.Name.empty()) throw std::invalid_argument("a skin package member needs a name");
        if (file.Name.find_first_of("\r\n") != std::string::npos) {
            throw std::invalid_argument("member name \"" + file.Name + "\" contains a line break");
        }
        if (file.Data.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
            throw std::invalid_argument("member \"" + file.Name + "\" is 2 GiB or larger");
        }
        nameList += file.Name;
        nameList += LineBreak;
        dataSize += file.Data.size();
    }
    const uint64_t total = SkinHeaderSize + uint64_t(extraLength) + nameList.size() +
                           uint64_t{SkinSizeEntryBytes} * files.size() + dataSize;
    if (total > SkinMaxUnpackedSize) {
        throw std::invalid_argument("skin archive of " + std::to_string(total) + " bytes exceeds the limit of " +
                                    std::to_string(SkinMaxUnpackedSize) + " bytes");
    }

    std::vector<uint8_t> archive;
    archive.reserve(static_cast<size_t>(total));
    AppendLE32(archive, version);
    AppendLE32(archive, static_cast<uint32_t>(nameList.size()));
    archive.resize(archive.size() + (SkinHeaderSize - SkinHeaderUnusedOffset) + extraLength, 0);  // unused, extra block
    archive.insert(archive.end(), nameList.begin(), nameList.end());
    for (const TSkinPackageFile& file : files) AppendLE32(archive, static_cast<uint32_t>(file.Data.size()));
    for (const TSkinPackageFile& file : files) archive.insert(archive.end(), file.Data.begin(), file.Data.end());
    return archive;
}

std::vector<uint8_t> BuildSkinPackage(const std::vector<TSkinPackageFile>& files, uint32_t version) {
    return LzhCompressFramed(BuildSkinArchive(files, version));
}
