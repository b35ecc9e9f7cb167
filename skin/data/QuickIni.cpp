// TQuickIni: parse once, answer look-ups from the retained lines.
#include "skin/data/QuickIni.h"

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
    FSectionBlocks.clear();
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
}

void TQuickIni::AddLine(std::string_view Raw) {
    const std::string_view Line = TrimView(Raw);
    if (Line.empty() || Line.front() == CommentMark) return;
    const int32_t Index = FLines->Add(Line);
    if (IsSectionHeader(Line)) {
        FSections->Add(Line);
        FSectionBlocks.push_back(TSectionBlock{Index, {}});
        return;
    }
    // A key line belongs to the section above it; lines before the first header
    // belong to none and are never looked up. Only the first occurrence of a
    // key in a section is ever seen, and a line without "=" has the empty key,
    // which no look-up matches.
    if (FSectionBlocks.empty()) return;
    const size_t Separator = Line.find(KeySeparator);
    if (Separator == std::string_view::npos) return;
    std::string Key = LowerCase(TrimView(Line.substr(0, Separator)));
    if (Key.empty()) return;
    FSectionBlocks.back().FirstKeys.try_emplace(std::move(Key), TKeyLine{Index, Separator + 1});
}

int32_t TQuickIni::SectionIndex(std::string_view Section) const {
    std::string Header;
    Header.reserve(Section.size() + 2);
    Header += SectionOpen;
    Header += Section;
    Header += SectionClose;
    const int32_t Found = FSections->IndexOf(Header);
    return Found < 0 ? -1 : FSectionBlocks[static_cast<size_t>(Found)].LineIndex;
}

void TQuickIni::ReadString(std::string_view Section, std::string_view Key, std::string& Value,
                           std::string_view Default) const {
    Value.assign(Default);
    if (FLines->Count() == 0 || Key.empty()) return;
    std::string Header;
    Header.reserve(Section.size() + 2);
    Header += SectionOpen;
    Header += Section;
    Header += SectionClose;
    const int32_t Found = FSections->IndexOf(Header);
    if (Found < 0) return;
    const auto& Keys = FSectionBlocks[static_cast<size_t>(Found)].FirstKeys;
    const auto Hit = Keys.find(LowerCase(Key));
    if (Hit == Keys.end()) return;
    const std::string Line = FLines->Strings(Hit->second.LineIndex);
    const std::string_view Text = TrimView(std::string_view(Line).substr(Hit->second.ValueStart));
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
    for (int32_t I = 0; I < FSections->Count(); ++I) {
        const std::string Header = FSections->Strings(I);
        Strings->Add(TrimView(std::string_view(Header).substr(1, Header.size() - 2)));
    }
}
