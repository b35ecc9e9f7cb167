// TSkinReader: expands a skin package (LZH archive of the skin's INI file
// and bitmaps), indexes its directory and hands out member files by name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TMemoryStream;
class TStringList;

// The one message the package reader shows the user.
inline constexpr std::string_view OlderSkinFileMessage = "This is Older Skin File\rPlease update to new version !";

class TSkinReader {
public:
    // Shows a message modally (a Win32 message box in the program).
    using TMessageProc = std::function<void(const std::string& text)>;

    TSkinReader();
    ~TSkinReader();
    TSkinReader(const TSkinReader&) = delete;
    TSkinReader& operator=(const TSkinReader&) = delete;

    // Expands and indexes Package. True when the version is known and the
    // directory is readable (at most SkinMaxFiles names, each with its
    // size); an unknown version shows OlderSkinFileMessage.
    // On false the reader is empty. Members whose sizes are negative or run
    // past the data area (and all after them) extract as empty streams.
    bool ReadPackage(TMemoryStream& package);

    // Copies the file whose name equals Name (case-insensitively) into
    // Target, rewound; Target is left empty without a match.
    void ExtractFile(std::string_view name, TMemoryStream& target) const;

    // The bytes of the file whose name equals Name (case-insensitively) where
    // they lie in the expanded archive, valid while the reader holds this
    // package; empty without a match.
    std::span<const uint8_t> FileData(std::string_view name) const;

    // Copies the first file whose lower-case name contains Text into Target,
    // rewound, and sets FoundName; without a match Target is left empty and
    // FoundName unchanged.
    void ExtractFirstMatch(std::string_view text, TMemoryStream& target, std::string& foundName) const;

    // The directory as read: lower-cased names, their sizes, the header.
    const TStringList& Names() const { return *FNames; }
    int32_t Count() const { return FCount; }
    int32_t Sizes(int32_t index) const { return FSizes.at(static_cast<size_t>(index)); }
    bool Intact(int32_t index) const { return index >= 0 && index < FIntactCount; }
    uint32_t Version() const { return FVersion; }
    int32_t NameListLength() const { return FNameListLength; }

    // Expands Package's LZH stream into Archive (cleared first). False when
    // the package is too short or states an unpacked size above
    // SkinMaxUnpackedSize or beyond what its bytes can produce.
    static bool ExpandPackage(TMemoryStream& package, TMemoryStream& archive);

    // Replaces the process's message display (tests, tools); returns the
    // previous one. An empty proc restores the default.
    static TMessageProc SetMessageProc(TMessageProc proc);

private:
    void Clear();
    bool IndexArchive();
    int32_t IndexOfFile(std::string_view name) const;      // -1 without a match
    std::span<const uint8_t> Member(int32_t index) const;  // empty unless intact
    void CopyMember(int32_t index, TMemoryStream& target) const;

    std::unique_ptr<TStringList> FNames;
    std::unique_ptr<TMemoryStream> FArchive;  // the expanded archive
    std::vector<int32_t> FSizes;
    std::vector<int64_t> FOffsets;  // of each intact member in the data area
    int64_t FDataStart = 0;         // of the data area in FArchive
    int32_t FCount = 0;
    int32_t FIntactCount = 0;  // leading members that lie wholly inside the data area
    uint32_t FVersion = 0;
    int32_t FNameListLength = 0;
};

// The default display: a modal Win32 message box in the Windows build,
// standard error elsewhere.
void ShowSkinReaderMessage(const std::string& text);
