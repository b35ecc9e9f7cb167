// TQuickIni: parse once, answer look-ups from the retained lines.
#include "skin/data/QuickIni.h"

#include <algorithm>

#include "framework/rtl/SysUtils.h"

namespace {

constexpr char CommentMark = ';';
constexpr char SectionOpen = '[';
constexpr char SectionClose = ']';
constexpr char KeySeparator = '=';
constexpr char HexPrefix = '$';

// Trimming drops every byte of code 32 or less from both ends; bytes of 128
// and above are text of the ANSI code page and stay.
constexpr bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimView(std::string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

bool IsSectionHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == SectionOpen && line.back() == SectionClose;
}

// The text between a header's brackets.
std::string_view HeaderInner(std::string_view header) { return header.substr(1, header.size() - 2); }

constexpr bool EndsLine(char c) { return c == '\0' || c == '\r' || c == '\n'; }

// The message and source position the assertion of ReadSections carries.
constexpr const char* UnassignedStringsMessage = "The parameter Strings is unassigned!";
constexpr const char* AssertionUnit = "Pellixini";
constexpr int AssertionLine = 317;

}  // namespace

TQuickIni::TQuickIni() : FLines(std::make_unique<TStringList>()), FSections(std::make_unique<TStringList>()) {}

TQuickIni::~TQuickIni() = default;

void TQuickIni::LoadFromStream(TMemoryStream* stream) {
    if (stream == nullptr) return;
    FLines->BeginUpdate();
    FSections->BeginUpdate();
    FLines->Clear();
    FSections->Clear();
    FSectionLines.clear();
    FKeys.clear();
    FHeaderIndex.clear();
    FIndentedNames.clear();
    FSectionsVisited = 0;
    try {
        ParseText(*stream);
    } catch (...) {
        FLines->EndUpdate();
        FSections->EndUpdate();
        throw;
    }
    FLines->EndUpdate();
    FSections->EndUpdate();
}

void TQuickIni::ParseText(TMemoryStream& stream) {
    const int64_t start = stream.Position();
    const int64_t size = stream.Size();
    stream.Seek(0, TSeekOrigin::soEnd);
    if (start < 0 || start >= size) return;
    const std::string_view text(reinterpret_cast<const char*>(stream.Memory()) + start,
                                static_cast<size_t>(size - start));

    size_t pos = 0;
    while (pos < text.size()) {
        const size_t lineStart = pos;
        while (pos < text.size() && !EndsLine(text[pos])) ++pos;
        AddLine(text.substr(lineStart, pos - lineStart));
        if (pos >= text.size() || text[pos] == '\0') break;  // a NUL ends the text
        if (text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    // Key lines come in section order already.
    std::stable_sort(FKeys.begin(), FKeys.end(), [](const TKeyLine& a, const TKeyLine& b) {
        return a.Section != b.Section ? a.Section < b.Section : a.Folded < b.Folded;
    });
    for (auto* index : {&FHeaderIndex, &FIndentedNames}) {
        std::stable_sort(index->begin(), index->end(),
                         [](const TSectionName& a, const TSectionName& b) { return a.Folded < b.Folded; });
    }
}

void TQuickIni::AddLine(std::string_view raw) {
    const std::string_view line = TrimView(raw);
    if (line.empty() || line.front() == CommentMark) return;
    const int32_t index = FLines->Add(line);
    if (IsSectionHeader(line)) {
        const auto section = static_cast<int32_t>(FSectionLines.size());
        FSections->Add(line);
        FSectionLines.push_back(index);
        const std::string_view inner = HeaderInner(line);
        FHeaderIndex.push_back(TSectionName{LowerCase(inner), section});
        if (!inner.empty() && IsBlank(inner.front()))
            FIndentedNames.push_back(TSectionName{LowerCase(TrimView(inner)), section});
        return;
    }
    // A key line belongs to the section above it; lines before the first header
    // belong to none and are never looked up. A line without "=" has the
    // empty key, which no look-up matches.
    if (FSectionLines.empty()) return;
    const size_t separator = line.find(KeySeparator);
    if (separator == std::string_view::npos) return;
    std::string key = LowerCase(TrimView(line.substr(0, separator)));
    if (key.empty()) return;
    FKeys.push_back(TKeyLine{static_cast<int32_t>(FSectionLines.size()) - 1, std::move(key), index, separator + 1});
}

int32_t TQuickIni::FindSection(std::string_view section) const {
    const std::string folded = LowerCase(section);
    const auto found = FirstNotBefore(FHeaderIndex, folded);
    if (found == FHeaderIndex.end() || found->Folded != folded) return -1;
    ++FSectionsVisited;
    return found->Section;
}

int32_t TQuickIni::SectionIndex(std::string_view section) const {
    const int32_t found = FindSection(section);
    return found < 0 ? -1 : FSectionLines[static_cast<size_t>(found)];
}

void TQuickIni::ReadString(std::string_view section, std::string_view key, std::string& value,
                           std::string_view fallback) const {
    value.assign(fallback);
    if (FLines->Count() == 0 || key.empty()) return;
    const int32_t found = FindSection(section);
    if (found < 0) return;
    // The first line of the section with the key: a later one is never seen.
    const std::string folded = LowerCase(key);
    const auto hit =
        std::lower_bound(FKeys.begin(), FKeys.end(), folded, [found](const TKeyLine& entry, const std::string& wanted) {
            return entry.Section != found ? entry.Section < found : entry.Folded < wanted;
        });
    if (hit == FKeys.end() || hit->Section != found || hit->Folded != folded) return;
    const std::string line = FLines->Strings(hit->LineIndex);
    const std::string_view text = TrimView(std::string_view(line).substr(hit->ValueStart));
    if (!text.empty()) value.assign(text);
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
    std::string value;
    ReadString(section, key, value, fallback);
    return value;
}

int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
    std::string text = ReadString(section, key, {});
    // "0x10" is written "$10" in the framework's integer syntax.
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.replace(0, 2, 1, HexPrefix);
    return StrToIntDef(text, fallback);
}

void TQuickIni::ReadSections(TStringList* strings) const {
    if (strings == nullptr)
        throw EAssertionFailed(std::string(UnassignedStringsMessage) + " (" + AssertionUnit + ", line " +
                               std::to_string(AssertionLine) + ")");
    strings->Clear();
    for (int32_t i = 0; i < FSections->Count(); ++i) strings->Add(TrimView(HeaderInner(FSections->Strings(i))));
    FSectionsVisited += FSections->Count();
}

TQuickIni::TNameIterator TQuickIni::FirstNotBefore(const std::vector<TSectionName>& index, std::string_view folded) {
    return std::lower_bound(index.begin(), index.end(), folded,
                            [](const TSectionName& entry, std::string_view key) { return entry.Folded < key; });
}

TQuickIni::TNameRun TQuickIni::PrefixRun(const std::vector<TSectionName>& index, std::string_view foldedPrefix) {
    const TNameIterator first = FirstNotBefore(index, foldedPrefix);
    auto last = first;
    while (last != index.end() && std::string_view(last->Folded).substr(0, foldedPrefix.size()) == foldedPrefix) ++last;
    return {first, last};
}

std::vector<std::string> TQuickIni::SectionsStartingWith(std::string_view prefix) const {
    const std::string folded = LowerCase(prefix);
    std::vector<int32_t> sections;
    const auto [First, Last] = PrefixRun(FHeaderIndex, folded);
    for (auto entry = First; entry != Last; ++entry) {
        // Names with blanks before them come from the other index; blanks
        // after a name are no part of it.
        const std::string_view name = entry->Folded;
        const bool indented = !name.empty() && IsBlank(name.front());
        if (!indented && TrimView(name).substr(0, folded.size()) == folded) sections.push_back(entry->Section);
    }
    const auto [FirstIndented, LastIndented] = PrefixRun(FIndentedNames, folded);
    for (auto entry = FirstIndented; entry != LastIndented; ++entry) sections.push_back(entry->Section);
    FSectionsVisited += (Last - First) + (LastIndented - FirstIndented);

    std::sort(sections.begin(), sections.end());
    std::vector<std::string> names;
    names.reserve(sections.size());
    for (const int32_t section : sections) names.emplace_back(TrimView(HeaderInner(FSections->Strings(section))));
    return names;
}
