// QuickIni: the read-only INI reader that answers a skin's look-ups of
// sections, keys, strings and integers from an INI file held in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
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
    void LoadFromStream(TMemoryStream* stream);

    // Index in Lines of the header "[" + Section + "]" (case-insensitive,
    // whole trimmed header), or -1.
    int32_t SectionIndex(std::string_view section) const;

    // value = fallback, then the trimmed value of the first line of the section
    // whose key equals Key (letter case ignored), unless that value is empty.
    void ReadString(std::string_view section, std::string_view key, std::string& value,
                    std::string_view fallback) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;

    // Decimal with optional sign, or hexadecimal with "$" or "0x"; anything
    // else (an empty or missing value included) gives fallback.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;

    // Replaces the contents of Strings with every section name, in file order,
    // without brackets and trimmed. A nil list fails an assertion.
    void ReadSections(TStringList* strings) const;

    // The names, as ReadSections gives them, of the sections whose name begins
    // with Prefix (letter case ignored), in file order. Only those sections
    // are visited, however many others the file has.
    std::vector<std::string> SectionsStartingWith(std::string_view prefix) const;

    // Section headers that look-ups and section queries have visited since
    // the last load: a look-up visits at most one, ReadSections all of them.
    // Lets a caller see that its queries stay independent of the file's size.
    int64_t SectionsVisited() const { return FSectionsVisited; }

    // Every retained line (trimmed, not empty, not a ";" comment), in file order.
    const TStringList& Lines() const { return *FLines; }
    // The section headers, brackets included, in file order.
    const TStringList& Sections() const { return *FSections; }

private:
    // A key line: the section it belongs to (its position in FSections), its
    // key folded to lower case, its line and where its value starts (just
    // after its first "=").
    struct TKeyLine {
        int32_t Section;
        std::string Folded;
        int32_t LineIndex;
        size_t ValueStart;
    };
    // A section's name folded to lower case, and its position in FSections.
    struct TSectionName {
        std::string Folded;
        int32_t Section;
    };
    using TNameIterator = std::vector<TSectionName>::const_iterator;
    using TNameRun = std::pair<TNameIterator, TNameIterator>;
    // The first entry of a sorted index whose name is not before Folded (the
    // first in file order among equal names).
    static TNameIterator FirstNotBefore(const std::vector<TSectionName>& index, std::string_view folded);
    // The entries of a sorted index whose names begin with FoldedPrefix.
    static TNameRun PrefixRun(const std::vector<TSectionName>& index, std::string_view foldedPrefix);

    void ParseText(TMemoryStream& stream);
    void AddLine(std::string_view raw);
    // The position in FSections of the first header "[" + Section + "]",
    // letter case ignored, or -1.
    int32_t FindSection(std::string_view section) const;

    std::unique_ptr<TStringList> FLines;
    std::unique_ptr<TStringList> FSections;
    // Parallel to FSections: the header's index in FLines.
    std::vector<int32_t> FSectionLines;
    // Flat sorted indexes (no node per entry, so that a file of 50,000
    // sections costs little more than its lines), equal entries in file
    // order so that the first occurrence answers:
    // every key line, by section and then key;
    std::vector<TKeyLine> FKeys;
    // the whole text between the brackets of every header, which look-ups
    // match;
    std::vector<TSectionName> FHeaderIndex;
    // the trimmed names of the few headers with blanks after their "[", which
    // prefix queries match (any other name is a prefix of the whole text).
    std::vector<TSectionName> FIndentedNames;
    mutable int64_t FSectionsVisited = 0;
};
