// TSkinReader: the skin package reader.
#include "skin/data/SkinReader.h"

#include <algorithm>

#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinArchive.h"

namespace {

TSkinReader::TMessageProc& MessageProc() {
    static TSkinReader::TMessageProc proc;
    return proc;
}

void ShowReaderMessage(const std::string& text) {
    if (const auto& proc = MessageProc()) {
        proc(text);
    } else {
        ShowSkinReaderMessage(text);
    }
}

// The number of lines the string-list rules make of text: a line ends at
// CR LF, CR or LF, and text after the last break is one more line.
int64_t CountLines(std::string_view text) {
    int64_t lines = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ++lines;
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            ++lines;
        }
    }
    if (!text.empty() && text.back() != '\r' && text.back() != '\n') ++lines;
    return lines;
}

}  // namespace

TSkinReader::TSkinReader() : FNames(std::make_unique<TStringList>()), FArchive(std::make_unique<TMemoryStream>()) {}

TSkinReader::~TSkinReader() = default;

TSkinReader::TMessageProc TSkinReader::SetMessageProc(TMessageProc proc) {
    TMessageProc previous = std::move(MessageProc());
    MessageProc() = std::move(proc);
    return previous;
}

void TSkinReader::Clear() {
    FNames->Clear();
    FArchive->Clear();
    FSizes.clear();
    FOffsets.clear();
    FCount = 0;
    FIntactCount = 0;
    FDataStart = 0;
    FVersion = 0;
    FNameListLength = 0;
}

bool TSkinReader::ExpandPackage(TMemoryStream& package, TMemoryStream& archive) {
    archive.Clear();
    const int64_t packageSize = package.Size();
    if (packageSize < SkinPackageFramingBytes) return false;

    package.SetPosition(0);
    uint8_t framing[SkinPackageFramingBytes];
    package.ReadBuffer(framing, sizeof framing);
    const uint32_t unpackedSize = ReadLE32(framing);
    // A size field beyond what the input can give would only make the
    // decoder spin out garbage into a huge buffer.
    if (unpackedSize > SkinMaxUnpackedSize ||
        !LzhSizePlausible(unpackedSize, static_cast<uint64_t>(packageSize) - SkinPackageFramingBytes)) {
        return false;
    }

    // Room for the whole output up front (the last match may run up to
    // F - 1 bytes past the stated size), so the archive never regrows.
    archive.SetSize(int64_t{unpackedSize} + lzh::F);
    archive.SetPosition(0);
    TLZH lzh;
    lzh.SetInStream(&package);
    lzh.SetOutStream(&archive);
    lzh.ExpandStreams(unpackedSize);
    // The last match may run up to F - 1 bytes past the stated size; those
    // bytes are not part of the archive.
    archive.SetSize(std::min<int64_t>(archive.Position(), unpackedSize));
    return true;
}

bool TSkinReader::ReadPackage(TMemoryStream& package) {
    Clear();
    // The expanded archive is kept whole: members are read where they lie.
    if (!ExpandPackage(package, *FArchive) || !IndexArchive()) {
        Clear();
        return false;
    }
    return true;
}

bool TSkinReader::IndexArchive() {
    const int64_t archiveSize = FArchive->Size();
    if (archiveSize < SkinHeaderSize) return false;
    const uint8_t* bytes = FArchive->Memory();

    const uint32_t version = ReadLE32(bytes);
    const auto nameListLength = static_cast<int32_t>(ReadLE32(bytes + SkinHeaderNameListOffset));
    const int32_t extraLength = SkinExtraBlockLength(version);
    if (extraLength < 0) {
        ShowReaderMessage(std::string(OlderSkinFileMessage));
        return false;
    }

    // Every length is checked against the archive before it is used.
    const int64_t nameListStart = int64_t{SkinHeaderSize} + extraLength;
    if (nameListLength < 0 || nameListStart + nameListLength > archiveSize) return false;
    const std::string_view nameList(reinterpret_cast<const char*>(bytes + nameListStart),
                                    static_cast<size_t>(nameListLength));
    // Count the names before splitting, so a list of millions of empty
    // lines is refused without building it.
    const int64_t sizesStart = nameListStart + nameListLength;
    const int64_t lines = CountLines(nameList);
    if (lines > SkinMaxFiles || sizesStart + int64_t{SkinSizeEntryBytes} * lines > archiveSize) return false;
    FNames->SetText(LowerCase(nameList));

    const int32_t count = FNames->Count();
    const int64_t dataStart = sizesStart + int64_t{SkinSizeEntryBytes} * count;
    if (count > SkinMaxFiles || dataStart > archiveSize) return false;

    FSizes.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        FSizes[static_cast<size_t>(i)] =
            static_cast<int32_t>(ReadLE32(bytes + sizesStart + int64_t{SkinSizeEntryBytes} * i));
    }

    const int64_t dataSize = archiveSize - dataStart;

    // Offsets are running sums of the sizes. A negative size leaves every
    // later offset unknown and a size running past the data area leaves
    // every later file past it, so the intact files are a leading run.
    int64_t offset = 0;
    FOffsets.clear();
    for (const int32_t size : FSizes) {
        if (size < 0 || offset + size > dataSize) break;
        FOffsets.push_back(offset);
        offset += size;
    }
    FIntactCount = static_cast<int32_t>(FOffsets.size());
    FDataStart = dataStart;
    FCount = count;
    FVersion = version;
    FNameListLength = nameListLength;
    return true;
}

std::span<const uint8_t> TSkinReader::Member(int32_t index) const {
    if (!Intact(index)) return {};
    const auto size = static_cast<size_t>(FSizes[static_cast<size_t>(index)]);
    return {FArchive->Memory() + FDataStart + FOffsets[static_cast<size_t>(index)], size};
}

void TSkinReader::CopyMember(int32_t index, TMemoryStream& target) const {
    const std::span<const uint8_t> bytes = Member(index);
    if (!bytes.empty()) target.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    target.SetPosition(0);
}

int32_t TSkinReader::IndexOfFile(std::string_view name) const {
    const std::string key = LowerCase(name);
    for (int32_t i = 0; i < FCount; ++i) {
        if (FNames->Strings(i) == key) return i;
    }
    return -1;
}

void TSkinReader::ExtractFile(std::string_view name, TMemoryStream& target) const {
    target.Clear();
    const int32_t index = IndexOfFile(name);
    if (index >= 0) CopyMember(index, target);
}

std::span<const uint8_t> TSkinReader::FileData(std::string_view name) const { return Member(IndexOfFile(name)); }

void TSkinReader::ExtractFirstMatch(std::string_view text, TMemoryStream& target, std::string& foundName) const {
    target.Clear();
    for (int32_t i = 0; i < FCount; ++i) {
        const std::string& name = FNames->Strings(i);
        if (name.find(text) != std::string::npos) {
            CopyMember(i, target);
            foundName = name;
            return;
        }
    }
}
