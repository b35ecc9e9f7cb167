#include "framework/core/TextForm.h"

#include <cctype>
#include <cstdint>
#include <vector>

#include "framework/rtl/Filer.h"

namespace {

constexpr int IndentWidth = 2;
constexpr size_t HexBytesPerLine = 32;
constexpr char32_t MaxCodePoint = 0x10FFFF;
constexpr char32_t LastByteCode = 0xFF;
constexpr char32_t FirstNonAscii = 0x80;
constexpr char32_t Delete = 0x7F;
constexpr char32_t Space = 0x20;
constexpr char32_t SurrogateFirst = 0xD800;
constexpr char32_t LowSurrogateFirst = 0xDC00;
constexpr char32_t SurrogateLast = 0xDFFF;
constexpr char32_t SupplementaryFirst = 0x10000;

// --- text -> binary --------------------------------------------------------------

enum class TToken { End, Symbol, Ident, Integer, String };

// TTextParser: tokens of the text form with line numbers; strings are
// gathered whole (parts joined, optionally with '+').
class TTextParser {
public:
    TTextParser(std::string_view text, TWriter& writer) : FText(text), FWriter(writer) { Next(); }

    void ConvertForm() {
        FWriter.WriteSignature();
        ConvertObject(0);
        if (FToken != TToken::End) Error("Text after the final 'end'");
    }

private:
    [[noreturn]] void Error(const std::string& message) const {
        throw EParserError("Line " + IntToStr(FTokenLine) + ": " + message);
    }

    bool IsSymbol(char c) const { return FToken == TToken::Symbol && FSymbol == c; }
    bool IsKeyword(std::string_view word) const { return FToken == TToken::Ident && SameText(FIdent, word); }

    void Expect(char c) {
        if (!IsSymbol(c)) Error(std::string("'") + c + "' expected");
        Next();
    }

    std::string ExpectIdent(const char* what) {
        if (FToken != TToken::Ident) Error(std::string(what) + " expected");
        std::string ident = FIdent;
        Next();
        return ident;
    }

    void SkipBlanks() {
        while (FPos < FText.size()) {
            const char c = FText[FPos];
            if (c == '\n') {
                ++FLine;
                ++FPos;
            } else if (static_cast<unsigned char>(c) <= ' ') {
                ++FPos;
            } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
                while (FPos < FText.size() && FText[FPos] != '\n') ++FPos;
            } else {
                break;
            }
        }
    }

    static bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
    static bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '.'; }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    void Next() {
        SkipBlanks();
        FTokenLine = FLine;
        if (FPos >= FText.size()) {
            FToken = TToken::End;
            return;
        }
        const char c = FText[FPos];
        if (IsIdentStart(c)) {
            const size_t start = FPos;
            while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
            FIdent = FText.substr(start, FPos - start);
            FToken = TToken::Ident;
        } else if (IsDigit(c) || c == '$' ||
                   (c == '-' && FPos + 1 < FText.size() && (IsDigit(FText[FPos + 1]) || FText[FPos + 1] == '$'))) {
            const size_t start = FPos;
            ++FPos;
            while (FPos < FText.size() && (std::isalnum(static_cast<unsigned char>(FText[FPos])) != 0)) ++FPos;
            const std::string_view number = FText.substr(start, FPos - start);
            if (!TryStrToInt64(number, FInteger)) Error("Invalid number " + std::string(number));
            FToken = TToken::Integer;
        } else if (c == '\'' || c == '#') {
            ReadString();
        } else {
            FSymbol = c;
            ++FPos;
            FToken = TToken::Symbol;
        }
    }

    // One string: parts 'text' and #code, adjacent or joined by '+'.
    void ReadString() {
        FString.clear();
        FWide = false;
        for (;;) {
            if (FPos < FText.size() && FText[FPos] == '\'') {
                ++FPos;
                for (;;) {
                    if (FPos >= FText.size() || FText[FPos] == '\n') Error("Unterminated string");
                    const char ch = FText[FPos++];
                    if (ch == '\'') {
                        if (FPos < FText.size() && FText[FPos] == '\'') {
                            ++FPos;
                            FString.push_back('\'');
                            continue;
                        }
                        break;
                    }
                    DecodeUtf8(ch);
                }
            } else if (FPos < FText.size() && FText[FPos] == '#') {
                ++FPos;
                const size_t start = FPos;
                if (FPos < FText.size() && FText[FPos] == '$') ++FPos;
                while (FPos < FText.size() && std::isalnum(static_cast<unsigned char>(FText[FPos])) != 0) ++FPos;
                int64_t code = 0;
                if (!TryStrToInt64(FText.substr(start, FPos - start), code) || code < 0 ||
                    code > static_cast<int64_t>(MaxCodePoint))
                    Error("Invalid character code #" + std::string(FText.substr(start, FPos - start)));
                if (code > static_cast<int64_t>(LastByteCode)) FWide = true;
                FString.push_back(static_cast<char32_t>(code));
            } else {
                break;
            }
            // Parts join when adjacent, or across blanks and lines with '+'.
            if (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) continue;
            const size_t save = FPos;
            const int saveLine = FLine;
            SkipBlanks();
            if (FPos < FText.size() && FText[FPos] == '+') {
                ++FPos;
                SkipBlanks();
                if (FPos >= FText.size() || (FText[FPos] != '\'' && FText[FPos] != '#'))
                    Error("String expected after '+'");
                continue;
            }
            FPos = save;
            FLine = saveLine;
            break;
        }
        FToken = TToken::String;
    }

    // One character of a quoted part; overlong forms and surrogates are errors,
    // so that every string has exactly one spelling.
    void DecodeUtf8(char first) {
        const auto lead = static_cast<unsigned char>(first);
        if (lead < FirstNonAscii) {
            FString.push_back(lead);
            return;
        }
        const int extra = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0) Error("Invalid UTF-8 in string");
        static constexpr char32_t Minimum[] = {0, 0x80, 0x800, 0x10000};
        char32_t c = lead & (0x3F >> extra);
        for (int i = 0; i < extra; ++i) {
            if (FPos >= FText.size() || (static_cast<unsigned char>(FText[FPos]) & 0xC0) != 0x80)
                Error("Invalid UTF-8 in string");
            c = (c << 6) | (static_cast<unsigned char>(FText[FPos++]) & 0x3F);
        }
        if (c < Minimum[extra] || c > MaxCodePoint || (c >= SurrogateFirst && c <= SurrogateLast))
            Error("Invalid UTF-8 in string");
        FString.push_back(c);
        FWide = true;
    }

    void WriteStringToken() {
        if (FWide) {
            std::u16string units;
            for (char32_t c : FString) {
                if (c >= SupplementaryFirst) {
                    const char32_t v = c - SupplementaryFirst;
                    units.push_back(static_cast<char16_t>(SurrogateFirst + (v >> 10)));
                    units.push_back(static_cast<char16_t>(LowSurrogateFirst + (v & 0x3FF)));
                } else {  // #codes of surrogates stand for single UTF-16 units
                    units.push_back(static_cast<char16_t>(c));
                }
            }
            FWriter.WriteUtf16String(units);
        } else {
            std::string bytes;
            for (char32_t c : FString) bytes.push_back(static_cast<char>(c));
            FWriter.WriteString(bytes);
        }
    }

    void CheckDepth(int depth) const {
        if (depth > MaxValueNesting) Error("Nested too deeply");
    }

    void ConvertObject(int depth) {
        CheckDepth(depth);
        if (!IsKeyword("object")) Error("'object' expected");
        Next();
        std::string first = ExpectIdent("Component name or class");
        std::string name;
        std::string className = first;
        if (IsSymbol(':')) {
            Next();
            name = first;
            className = ExpectIdent("Class name");
        }
        FWriter.WriteStr(className);
        FWriter.WriteStr(name);
        while (!IsKeyword("end") && !IsKeyword("object")) ConvertProperty(depth);
        FWriter.WriteStr("");
        while (IsKeyword("object")) ConvertObject(depth + 1);
        if (!IsKeyword("end")) Error("'end' expected");
        Next();
        FWriter.WriteValue(TValueType::vaNull);
    }

    void ConvertProperty(int depth) {
        if (FToken != TToken::Ident) Error("Property name expected");
        FWriter.WriteStr(FIdent);
        Next();
        Expect('=');
        ConvertValue(depth);
    }

    void ConvertValue(int depth) {
        CheckDepth(depth);
        switch (FToken) {
        case TToken::Integer:
            FWriter.WriteInteger(FInteger);
            Next();
            return;
        case TToken::String:
            WriteStringToken();
            Next();
            return;
        case TToken::Ident:
            if (IsKeyword("end") || IsKeyword("object") || IsKeyword("item")) Error("Value expected");
            FWriter.WriteIdent(FIdent);
            Next();
            return;
        case TToken::End: Error("Value expected");
        case TToken::Symbol: break;
        }
        switch (FSymbol) {
        case '[': {
            Next();
            std::vector<std::string> names;
            while (!IsSymbol(']')) {
                names.push_back(ExpectIdent("Set element"));
                if (IsSymbol(',')) {
                    Next();
                    if (IsSymbol(']')) Error("Set element expected");
                } else if (!IsSymbol(']')) {
                    Error("',' or ']' expected");
                }
            }
            Next();
            FWriter.WriteSet(names);
            return;
        }
        case '(':
            Next();
            FWriter.WriteListBegin();
            while (!IsSymbol(')')) ConvertValue(depth + 1);
            Next();
            FWriter.WriteListEnd();
            return;
        case '<':
            Next();
            FWriter.WriteValue(TValueType::vaCollection);
            while (!IsSymbol('>')) {
                if (!IsKeyword("item")) Error("'item' expected");
                Next();
                FWriter.WriteListBegin();
                while (!IsKeyword("end")) ConvertProperty(depth + 1);
                Next();
                FWriter.WriteStr("");
            }
            Next();
            FWriter.WriteValue(TValueType::vaNull);
            return;
        case '{': ConvertBinary(); return;
        default: Error(std::string("Unexpected '") + FSymbol + "'");
        }
    }

    // Hexadecimal bytes up to '}', read straight from the text.
    void ConvertBinary() {
        std::vector<uint8_t> bytes;
        int high = -1;
        for (;;) {
            if (FPos >= FText.size()) Error("'}' expected");
            const char c = FText[FPos++];
            if (c == '}') break;
            if (c == '\n') {
                ++FLine;
                continue;
            }
            if (static_cast<unsigned char>(c) <= ' ') continue;
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            if (digit < 0) Error(std::string("Invalid hexadecimal digit '") + c + "'");
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
                high = -1;
            }
        }
        if (high >= 0) Error("Odd number of hexadecimal digits");
        FWriter.WriteBinary(bytes.data(), static_cast<int64_t>(bytes.size()));
        Next();
    }

    std::string_view FText;
    TWriter& FWriter;
    size_t FPos = 0;
    int FLine = 1;
    int FTokenLine = 1;
    TToken FToken = TToken::End;
    char FSymbol = 0;
    std::string FIdent;
    int64_t FInteger = 0;
    std::u32string FString;
    bool FWide = false;
};

// --- binary -> text --------------------------------------------------------------

std::string QuoteBytes(std::string_view bytes) {
    std::string out;
    bool quoted = false;
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= Space && c < Delete) {
            if (!quoted) out += '\'';
            quoted = true;
            out += ch;
            if (ch == '\'') out += '\'';
        } else {
            if (quoted) out += '\'';
            quoted = false;
            out += '#' + IntToStr(c);
        }
    }
    if (quoted) out += '\'';
    return out.empty() ? "''" : out;
}

// Wide text: printable characters as UTF-8 inside quotes; control
// characters, and surrogates that do not pair up, as #codes.
std::string QuoteWide(std::u16string_view units) {
    std::string out;
    bool quoted = false;
    size_t i = 0;
    while (i < units.size()) {
        char32_t c = units[i++];
        bool lone = false;
        if (c >= SurrogateFirst && c <= SurrogateLast) {
            if (c < LowSurrogateFirst && i < units.size() && units[i] >= LowSurrogateFirst && units[i] <= SurrogateLast)
                c = SupplementaryFirst + ((c - SurrogateFirst) << 10) + (units[i++] - LowSurrogateFirst);
            else
                lone = true;
        }
        if (!lone && c >= Space && c != Delete) {
            if (!quoted) out += '\'';
            quoted = true;
            if (c == '\'') out += '\'';
            std::u16string one;
            if (c >= SupplementaryFirst) {
                one += static_cast<char16_t>(SurrogateFirst + ((c - SupplementaryFirst) >> 10));
                one += static_cast<char16_t>(LowSurrogateFirst + ((c - SupplementaryFirst) & 0x3FF));
            } else {
                one += static_cast<char16_t>(c);
            }
            out += Utf16ToUtf8(one);
        } else {
            if (quoted) out += '\'';
            quoted = false;
            out += '#' + IntToStr(c);
        }
    }
    if (quoted) out += '\'';
    return out.empty() ? "''" : out;
}

// TTextWriter: walks a binary form with a value reader and spells it out.
class TTextWriter : public TReader {
public:
    explicit TTextWriter(TStream& stream) : TReader(stream) {}

    std::string Convert() {
        ReadSignature();
        ConvertObject(0);
        return FOut;
    }

private:
    void Indent(int level) { FOut.append(static_cast<size_t>(level * IndentWidth), ' '); }

    void ConvertObject(int level) {
        if (level > MaxValueNesting) ReadError("Components nested too deeply");
        const std::string className = ReadStr();
        const std::string name = ReadStr();
        Indent(level);
        FOut += name.empty() ? "object " + className + "\n" : "object " + name + ": " + className + "\n";
        ConvertProperties(level + 1);
        while (!EndOfList()) ConvertObject(level + 1);
        ReadValue();
        Indent(level);
        FOut += "end\n";
    }

    void ConvertProperties(int level) {
        while (!EndOfList()) {
            const std::string name = ReadStr();
            Indent(level);
            FOut += name + " = ";
            ConvertValue(level);
            FOut += '\n';
        }
        ReadValue();
    }

    void ConvertValue(int level) {
        if (level > MaxValueNesting + 1) ReadError("Values nested too deeply");
        const TValueType type = NextValue();
        switch (type) {
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32:
        case TValueType::vaInt64: FOut += IntToStr(ReadInt64()); return;
        case TValueType::vaString:
        case TValueType::vaLString: FOut += QuoteBytes(ReadStringOfType(ReadValue())); return;
        case TValueType::vaWString:
            ReadValue();
            FOut += QuoteWide(ReadUtf16Units());
            return;
        case TValueType::vaIdent:
        case TValueType::vaFalse:
        case TValueType::vaTrue:
        case TValueType::vaNil: FOut += ReadIdent(); return;
        case TValueType::vaSet: {
            FOut += '[';
            bool first = true;
            for (const std::string& element : ReadSet()) {
                if (!first) FOut += ", ";
                first = false;
                FOut += element;
            }
            FOut += ']';
            return;
        }
        case TValueType::vaList:
            ReadValue();
            FOut += '(';
            while (!EndOfList()) {
                FOut += '\n';
                Indent(level + 1);
                ConvertValue(level + 1);
            }
            ReadValue();
            FOut += ')';
            return;
        case TValueType::vaCollection:
            ReadValue();
            FOut += '<';
            while (!EndOfList()) {
                ReadListBegin();
                FOut += '\n';
                Indent(level + 1);
                FOut += "item\n";
                ConvertProperties(level + 2);
                Indent(level + 1);
                FOut += "end";
            }
            ReadValue();
            FOut += '>';
            return;
        case TValueType::vaBinary: {
            const std::vector<uint8_t> bytes = ReadBinary();
            FOut += '{';
            for (size_t i = 0; i < bytes.size(); ++i) {
                if (i % HexBytesPerLine == 0) {
                    FOut += '\n';
                    Indent(level + 1);
                }
                FOut += IntToHex(bytes[i], 2);
            }
            FOut += '}';
            return;
        }
        case TValueType::vaNull: break;
        }
        ReadError("Invalid value type $" + IntToHex(static_cast<uint8_t>(type), 2));
    }

    std::string FOut;
};

}  // namespace

void ObjectTextToBinary(std::string_view text, TStream& output) {
    TWriter writer(output);
    TTextParser parser(text, writer);
    parser.ConvertForm();
}

std::string ObjectBinaryToText(TStream& input) {
    TTextWriter writer(input);
    return writer.Convert();
}
