// libFuzzer target of TQuickIni: any bytes parse, every look-up answers, and
// what was parsed keeps the reader's own rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/rtl/SysUtils.h"
#include "skin/data/QuickIni.h"

namespace {

void Check(bool Condition) {
    if (!Condition) std::abort();
}

// A few names the skin parse asks for, so the look-ups also hit real keys.
constexpr const char* ProbeSections[] = {"Personality", "Buttons", "Colours", "BUTTON0", ""};
constexpr const char* ProbeKeys[] = {"Left", "Frame", "Tile", "Image", "ButtonFace", "Action", "="};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    TMemoryStream Stream;
    if (Size > 0) Stream.WriteBuffer(Data, static_cast<int32_t>(Size));
    Stream.SetPosition(0);
    TQuickIni Ini;
    Ini.LoadFromStream(&Stream);
    Check(Stream.Position() == Stream.Size());

    const TStringList& Lines = Ini.Lines();
    for (int32_t I = 0; I < Lines.Count(); ++I) {
        const std::string& Line = Lines.Strings(I);
        Check(!Line.empty() && Line.front() != ';');
        Check(static_cast<unsigned char>(Line.front()) > ' ' && static_cast<unsigned char>(Line.back()) > ' ');
        Check(Line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
    }

    TStringList Names;
    Ini.ReadSections(&Names);
    Check(Names.Count() == Ini.Sections().Count());
    for (int32_t I = 0; I < Names.Count(); ++I) {
        const std::string& Header = Ini.Sections().Strings(I);
        const std::string Inner = Header.substr(1, Header.size() - 2);
        const int32_t Index = Ini.SectionIndex(Inner);
        Check(Index >= 0 && Index < Lines.Count());
        // Each key line up to the next header answers its own first occurrence.
        for (int32_t L = Index + 1; L < Lines.Count() && L < Index + 64; ++L) {
            const std::string& Line = Lines.Strings(L);
            if (Line.front() == '[' && Line.back() == ']' && Line.size() >= 2) break;
            const size_t Separator = Line.find('=');
            if (Separator == std::string::npos) continue;
            std::string Value;
            Ini.ReadString(Inner, Line.substr(0, Separator), Value, "\x01");
            (void)Ini.ReadInteger(Inner, Line.substr(0, Separator), 0);
        }
    }
    // A prefix query gives what filtering every section name would.
    for (const std::string& Prefix : {std::string("button"), std::string("COLOUR"), std::string(),
                                      Names.Count() > 0 ? Names.Strings(0).substr(0, 2) : std::string("[")}) {
        std::vector<std::string> Expected;
        for (int32_t I = 0; I < Names.Count(); ++I)
            if (LowerCase(Names.Strings(I)).rfind(LowerCase(Prefix), 0) == 0) Expected.push_back(Names.Strings(I));
        Check(Ini.SectionsStartingWith(Prefix) == Expected);
    }
    for (const char* Section : ProbeSections)
        for (const char* Key : ProbeKeys) {
            std::string Value;
            Ini.ReadString(Section, Key, Value, "x");
            Check(!Value.empty());
            (void)Ini.ReadInteger(Section, Key, 7);
        }
    return 0;
}
