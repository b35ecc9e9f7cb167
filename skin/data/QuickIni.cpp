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
constexpr bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }

std::string_view TrimView(std::string_view Text) {
    size_t First = 0;
    size_t Last = Text.size();
    while (First < Last && IsBlank(Text[First])) ++First;
    while (Last > First && IsBlank(Text[Last - 1])) --Last;
    return Text.substr(First, Last - First);
}

bool IsSectionHeader(std::string_view Line) {
    return Line.size() >= 2 && Line.front() == SectionOpen && Line.back() == SectionClose;
}

// The text between a header's brackets.
std::string_view HeaderInner(std::string_view Header) { return Header.substr(1, Header.size() - 2); }

constexpr bool EndsLine(char C) { return C == '\0' || C == '\r' || C == '\n'; }

// The message and source position the assertion of ReadSections carries.
constexpr const char* UnassignedStringsMessage = "The parameter Strings is unassigned!";
constexpr const char* AssertionUnit = "Pellixini";
constexpr int AssertionLine = 317;

}  // namespace

TQuickIni::TQuickIni() : FLines(std::make_unique<TStringList>()), FSections(std::make_unique<TStringList>()) {}

TQuickIni::~TQuickIni() = default;

void TQuickIni::LoadFromStream(TMemoryStream* Stream) {
    if (Stream == nullptr) return;
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
        ParseText(*Stream);
    } catch (...) {
        FLines->EndUpdate();
        FSections->EndUpdate();
        throw;
    }
    FLines->EndUpdate();
    FSections->EndUpdate();
}

void TQuickIni::ParseText(TMemoryStream& Stream) {
    const int64_t Start = Stream.Position();
    const int64_t Size = Stream.Size();
    Stream.Seek(0, TSeekOrigin::soEnd);
    if (Start < 0 || Start >= Size) return;
    const std::string_view Text(reinterpret_cast<const char*>(Stream.Memory()) + Start,
                                static_cast<size_t>(Size - Start));

    size_t Pos = 0;
    while (Pos < Text.size()) {
        const size_t LineStart = Pos;
        while (Pos < Text.size() && !EndsLine(Text[Pos])) ++Pos;
        AddLine(Text.substr(LineStart, Pos - LineStart));
        if (Pos >= Text.size() || Text[Pos] == '\0') break;  // a NUL ends the text
        if (Text[Pos] == '\r') ++Pos;
        if (Pos < Text.size() && Text[Pos] == '\n') ++Pos;
    }
    // Key lines come in section order already.
    std::stable_sort(FKeys.begin(), FKeys.end(), [](const TKeyLine& A, const TKeyLine& B) {
        return A.Section != B.Section ? A.Section < B.Section : A.Folded < B.Folded;
    });
    for (auto* Index : {&FHeaderIndex, &FIndentedNames}) {
        std::stable_sort(Index->begin(), Index->end(),
                         [](const TSectionName& A, const TSectionName& B) { return A.Folded < B.Folded; });
    }
}

void TQuickIni::AddLine(std::string_view Raw) {
    const std::string_view Line = TrimView(Raw);
    if (Line.empty() || Line.front() == CommentMark) return;
    const int32_t Index = FLines->Add(Line);
    if (IsSectionHeader(Line)) {
        const auto Section = static_cast<int32_t>(FSectionLines.size());
        FSections->Add(Line);
        FSectionLines.push_back(Index);
        const std::string_view Inner = HeaderInner(Line);
        FHeaderIndex.push_back(TSectionName{LowerCase(Inner), Section});
        if (!Inner.empty() && IsBlank(Inner.front()))
            FIndentedNames.push_back(TSectionName{LowerCase(TrimView(Inner)), Section});
        return;
    }
    // A key line belongs to the section above it; lines before the first header
    // belong to none and are never looked up. A line without "=" has the
    // empty key, which no look-up matches.
    if (FSectionLines.empty()) return;
    const size_t Separator = Line.find(KeySeparator);
    if (Separator == std::string_view::npos) return;
    std::string Key = LowerCase(TrimView(Line.substr(0, Separator)));
    if (Key.empty()) return;
    FKeys.push_back(TKeyLine{static_cast<int32_t>(FSectionLines.size()) - 1, std::move(Key), Index, Separator + 1});
}

int32_t TQuickIni::FindSection(std::string_view Section) const {
    const std::string Folded = LowerCase(Section);
    const auto Found = FirstNotBefore(FHeaderIndex, Folded);
    if (Found == FHeaderIndex.end() || Found->Folded != Folded) return -1;
    ++FSectionsVisited;
    return Found->Section;
}

int32_t TQuickIni::SectionIndex(std::string_view Section) const {
    const int32_t Found = FindSection(Section);
    return Found < 0 ? -1 : FSectionLines[static_cast<size_t>(Found)];
}

void TQuickIni::ReadString(std::string_view Section, std::string_view Key, std::string& Value,
                           std::string_view Default) const {
    Value.assign(Default);
    if (FLines->Count() == 0 || Key.empty()) return;
    const int32_t Found = FindSection(Section);
    if (Found < 0) return;
    // The first line of the section with the key: a later one is never seen.
    const std::string Folded = LowerCase(Key);
    const auto Hit =
        std::lower_bound(FKeys.begin(), FKeys.end(), Folded, [Found](const TKeyLine& Entry, const std::string& Wanted) {
            return Entry.Section != Found ? Entry.Section < Found : Entry.Folded < Wanted;
        });
    if (Hit == FKeys.end() || Hit->Section != Found || Hit->Folded != Folded) return;
    const std::string Line = FLines->Strings(Hit->LineIndex);
    const std::string_view Text = TrimView(std::string_view(Line).substr(Hit->ValueStart));
    if (!Text.empty()) Value.assign(Text);
}

std::string TQuickIni::ReadString(std::string_view Section, std::string_view Key, std::string_view Default) const {
    std::string Value;
    ReadString(Section, Key, Value, Default);
    return Value;
}

int32_t TQuickIni::ReadInteger(std::string_view Section, std::string_view Key, int32_t Default) const {
    std::string Text = ReadString(Section, Key, {});
    // "0x10" is written "$10" in the framework's integer syntax.
    if (Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X')) Text.replace(0, 2, 1, HexPrefix);
    return StrToIntDef(Text, Default);
}

void TQuickIni::ReadSections(TStringList* Strings) const {
    if (Strings == nullptr)
        throw EAssertionFailed(std::string(UnassignedStringsMessage) + " (" + AssertionUnit + ", line " +
                               std::to_string(AssertionLine) + ")");
    Strings->Clear();
    for (int32_t I = 0; I < FSections->Count(); ++I) Strings->Add(TrimView(HeaderInner(FSections->Strings(I))));
    FSectionsVisited += FSections->Count();
}

TQuickIni::TNameIterator TQuickIni::FirstNotBefore(const std::vector<TSectionName>& Index, std::string_view Folded) {
    return std::lower_bound(Index.begin(), Index.end(), Folded,
                            [](const TSectionName& Entry, std::string_view Key) { return Entry.Folded < Key; });
}

TQuickIni::TNameRun TQuickIni::PrefixRun(const std::vector<TSectionName>& Index, std::string_view FoldedPrefix) {
    const TNameIterator First = FirstNotBefore(Index, FoldedPrefix);
    auto Last = First;
    while (Last != Index.end() && std::string_view(Last->Folded).substr(0, FoldedPrefix.size()) == FoldedPrefix) ++Last;
    return {First, Last};
}

std::vector<std::string> TQuickIni::SectionsStartingWith(std::string_view Prefix) const {
    const std::string Folded = LowerCase(Prefix);
    std::vector<int32_t> Sections;
    const auto [First, Last] = PrefixRun(FHeaderIndex, Folded);
    for (auto Entry = First; Entry != Last; ++Entry) {
        // Names with blanks before them come from the other index; blanks
        // after a name are no part of it.
        const std::string_view Name = Entry->Folded;
        const bool Indented = !Name.empty() && IsBlank(Name.front());
        if (!Indented && TrimView(Name).substr(0, Folded.size()) == Folded) Sections.push_back(Entry->Section);
    }
    const auto [FirstIndented, LastIndented] = PrefixRun(FIndentedNames, Folded);
    for (auto Entry = FirstIndented; Entry != LastIndented; ++Entry) Sections.push_back(Entry->Section);
    FSectionsVisited += (Last - First) + (LastIndented - FirstIndented);

    std::sort(Sections.begin(), Sections.end());
    std::vector<std::string> Names;
    Names.reserve(Sections.size());
    for (const int32_t Section : Sections) Names.emplace_back(TrimView(HeaderInner(FSections->Strings(Section))));
    return Names;
}
