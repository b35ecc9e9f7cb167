// QuickIni: the read-only INI reader that answers a skin's look-ups of
// sections, keys, strings and integers from an INI file held in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"

// TQuickIni: parses an INI text once into its retained lines and section
// headers, then answers look-ups; it never writes. One is made per skin load.
class TQuickIni {
public:
    TQuickIni();
    ~TQuickIni();
    TQuickIni(const TQuickIni&) = delete;
    TQuickIni& operator=(const TQuickIni&) = delete;

    // Parses the stream's bytes from its current position to its end (the
    // stream is left at its end). A nil stream is ignored.
    void LoadFromStream(TMemoryStream* Stream);

    // Index in Lines of the header "[" + Section + "]" (case-insensitive,
    // whole trimmed header), or -1.
    int32_t SectionIndex(std::string_view Section) const;

    // Value = Default, then the trimmed value of the first line of the section
    // whose key equals Key (letter case ignored), unless that value is empty.
    void ReadString(std::string_view Section, std::string_view Key, std::string& Value, std::string_view Default) const;
    std::string ReadString(std::string_view Section, std::string_view Key, std::string_view Default) const;

    // Decimal with optional sign, or hexadecimal with "$" or "0x"; anything
    // else (an empty or missing value included) gives Default.
    int32_t ReadInteger(std::string_view Section, std::string_view Key, int32_t Default) const;

    // Replaces the contents of Strings with every section name, in file order,
    // without brackets and trimmed. A nil list fails an assertion.
    void ReadSections(TStringList* Strings) const;

    // Every retained line (trimmed, not empty, not a ";" comment), in file order.
    const TStringList& Lines() const { return *FLines; }
    // The section headers, brackets included, in file order.
    const TStringList& Sections() const { return *FSections; }

private:
    // A key line of a section: where its value starts (just after its first "=").
    struct TKeyLine {
        int32_t LineIndex;
        size_t ValueStart;
    };
    // One section header: its line and the first occurrence of each key below it.
    struct TSectionBlock {
        int32_t LineIndex;
        std::unordered_map<std::string, TKeyLine> FirstKeys;
    };

    void ParseText(TMemoryStream& Stream);
    void AddLine(std::string_view Raw);

    std::unique_ptr<TStringList> FLines;
    std::unique_ptr<TStringList> FSections;
    // Parallel to FSections: the header's index in FLines and its key index.
    std::vector<TSectionBlock> FSectionBlocks;
};
