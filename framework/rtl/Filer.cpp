#include "framework/rtl/Filer.h"

#include <cstring>
#include <limits>

#include "framework/rtl/SysUtils.h"

namespace {

constexpr int64_t Utf16UnitSize = 2;

template <class T>
T FromLittleEndian(const uint8_t* bytes) {
    uint64_t value = 0;
    for (size_t i = 0; i < sizeof(T); ++i) value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    return static_cast<T>(value);
}

template <class T>
void ToLittleEndian(T value, uint8_t* bytes) {
    const auto bits = static_cast<uint64_t>(value);
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

std::string ValueTypeName(TValueType type) { return "value type $" + IntToHex(static_cast<uint8_t>(type), 2); }

}  // namespace

// --- TReader -------------------------------------------------------------------

TReader::TReader(TStream& stream) : TFiler(stream), FSize(stream.Size()) {}

void TReader::DefineProperty(std::string_view, TReaderProc, TWriterProc, bool) {}

void TReader::DefineBinaryProperty(std::string_view, TStreamProc, TStreamProc, bool) {}

void TReader::ReadError(const std::string& message) { throw EReadError(message); }

int64_t TReader::Remaining() {
    const int64_t left = FSize - FStream.Position();
    return left < 0 ? 0 : left;
}

uint8_t TReader::ReadByte() {
    uint8_t value = 0;
    if (FStream.Read(&value, 1) != 1) ReadError("Unexpected end of stream");
    return value;
}

void TReader::ReadExact(void* buffer, int64_t count) {
    if (count < 0 || count > Remaining()) ReadError("Unexpected end of stream");
    auto* bytes = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        const auto chunk = static_cast<int32_t>(std::min<int64_t>(count, std::numeric_limits<int32_t>::max()));
        if (FStream.Read(bytes, chunk) != chunk) ReadError("Unexpected end of stream");
        bytes += chunk;
        count -= chunk;
    }
}

int32_t TReader::ReadCount(int64_t unitSize) {
    uint8_t bytes[4];
    ReadExact(bytes, sizeof bytes);
    const auto count = FromLittleEndian<int32_t>(bytes);
    if (count < 0) ReadError("Invalid count " + IntToStr(count));
    if (count * unitSize > Remaining())
        ReadError("Count " + IntToStr(count) + " exceeds the " + IntToStr(Remaining()) + " bytes left");
    return count;
}

void TReader::ReadSignature() {
    char signature[sizeof FormSignature];
    if (Remaining() < static_cast<int64_t>(sizeof signature)) ReadError("Invalid stream format: no form signature");
    ReadExact(signature, sizeof signature);
    if (std::memcmp(signature, FormSignature, sizeof signature) != 0)
        ReadError("Invalid stream format: bad form signature");
}

TValueType TReader::ReadValue() { return static_cast<TValueType>(ReadByte()); }

TValueType TReader::NextValue() {
    const TValueType type = ReadValue();
    FStream.Seek(-1, TSeekOrigin::soCurrent);
    return type;
}

void TReader::CheckValue(TValueType expected) {
    const TValueType type = ReadValue();
    if (type != expected)
        ReadError("Invalid " + ValueTypeName(type) + " where " + ValueTypeName(expected) + " was expected");
}

void TReader::ReadListBegin() { CheckValue(TValueType::vaList); }

void TReader::ReadListEnd() { CheckValue(TValueType::vaNull); }

int64_t TReader::ReadInt64() {
    const TValueType type = ReadValue();
    switch (type) {
    case TValueType::vaInt8: {
        uint8_t b[1];
        ReadExact(b, 1);
        return FromLittleEndian<int8_t>(b);
    }
    case TValueType::vaInt16: {
        uint8_t b[2];
        ReadExact(b, 2);
        return FromLittleEndian<int16_t>(b);
    }
    case TValueType::vaInt32: {
        uint8_t b[4];
        ReadExact(b, 4);
        return FromLittleEndian<int32_t>(b);
    }
    case TValueType::vaInt64: {
        uint8_t b[8];
        ReadExact(b, 8);
        return FromLittleEndian<int64_t>(b);
    }
    default: ReadError("Invalid " + ValueTypeName(type) + " where an integer was expected");
    }
}

int32_t TReader::ReadInteger() {
    const int64_t value = ReadInt64();
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        ReadError("Integer " + IntToStr(value) + " is out of range");
    return static_cast<int32_t>(value);
}

bool TReader::ReadBoolean() {
    const TValueType type = ReadValue();
    if (type == TValueType::vaTrue) return true;
    if (type == TValueType::vaFalse) return false;
    ReadError("Invalid " + ValueTypeName(type) + " where a boolean was expected");
}

char TReader::ReadChar() {
    const std::string text = ReadString();
    if (text.size() != 1) ReadError("A single character was expected");
    return text[0];
}

std::string TReader::ReadStr() {
    const uint8_t length = ReadByte();
    std::string text(length, '\0');
    ReadExact(text.data(), length);
    return text;
}

std::u16string TReader::ReadUtf16Units() {
    const int32_t count = ReadCount(Utf16UnitSize);
    std::vector<uint8_t> bytes(static_cast<size_t>(count) * Utf16UnitSize);
    ReadExact(bytes.data(), static_cast<int64_t>(bytes.size()));
    std::u16string units(static_cast<size_t>(count), u'\0');
    for (size_t i = 0; i < units.size(); ++i) units[i] = FromLittleEndian<char16_t>(&bytes[i * 2]);
    return units;
}

std::string TReader::ReadStringOfType(TValueType type) {
    switch (type) {
    case TValueType::vaString: return ReadStr();
    case TValueType::vaLString: {
        const int32_t count = ReadCount(1);
        std::string text(static_cast<size_t>(count), '\0');
        ReadExact(text.data(), count);
        return text;
    }
    case TValueType::vaWString: return WideStringToString(Utf16ToWide(ReadUtf16Units()));
    default: ReadError("Invalid " + ValueTypeName(type) + " where a string was expected");
    }
}

std::string TReader::ReadString() { return ReadStringOfType(ReadValue()); }

std::wstring TReader::ReadWideString() {
    const TValueType type = ReadValue();
    if (type == TValueType::vaWString) return Utf16ToWide(ReadUtf16Units());
    return StringToWideString(ReadStringOfType(type));
}

std::string TReader::ReadIdent() {
    const TValueType type = ReadValue();
    switch (type) {
    case TValueType::vaIdent: return ReadStr();
    case TValueType::vaFalse: return "False";
    case TValueType::vaTrue: return "True";
    case TValueType::vaNil: return "nil";
    default: ReadError("Invalid " + ValueTypeName(type) + " where an identifier was expected");
    }
}

std::vector<std::string> TReader::ReadSet() {
    CheckValue(TValueType::vaSet);
    std::vector<std::string> names;
    for (;;) {
        std::string name = ReadStr();
        if (name.empty()) break;
        names.push_back(std::move(name));
    }
    return names;
}

std::vector<uint8_t> TReader::ReadBinary() {
    CheckValue(TValueType::vaBinary);
    const int32_t count = ReadCount(1);
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    ReadExact(bytes.data(), count);
    return bytes;
}

void TReader::SkipValue() { SkipValue(0); }

void TReader::SkipValue(int depth) {
    if (depth > MaxValueNesting) ReadError("Values nested too deeply");
    const TValueType type = ReadValue();
    switch (type) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil: return;
    case TValueType::vaList:
        while (!EndOfList()) SkipValue(depth + 1);
        ReadValue();
        return;
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64:
        FStream.Seek(-1, TSeekOrigin::soCurrent);
        ReadInt64();
        return;
    case TValueType::vaString:
    case TValueType::vaIdent: ReadStr(); return;
    case TValueType::vaLString:
    case TValueType::vaBinary: {
        const int32_t count = ReadCount(1);
        FStream.Seek(count, TSeekOrigin::soCurrent);
        return;
    }
    case TValueType::vaWString: {
        const int32_t count = ReadCount(Utf16UnitSize);
        FStream.Seek(count * Utf16UnitSize, TSeekOrigin::soCurrent);
        return;
    }
    case TValueType::vaSet:
        while (!ReadStr().empty()) {
        }
        return;
    case TValueType::vaCollection:
        while (!EndOfList()) {
            ReadListBegin();
            while (!ReadStr().empty()) SkipValue(depth + 1);
        }
        ReadValue();
        return;
    }
    ReadError("Invalid " + ValueTypeName(type));
}

// --- TWriter -------------------------------------------------------------------

void TWriter::DefineProperty(std::string_view, TReaderProc, TWriterProc, bool) {}

void TWriter::DefineBinaryProperty(std::string_view, TStreamProc, TStreamProc, bool) {}

void TWriter::WriteByte(uint8_t value) { FStream.WriteBuffer(&value, 1); }

void TWriter::WriteCount(int64_t count) {
    if (count < 0 || count > std::numeric_limits<int32_t>::max()) throw EWriteError("Value too large to store");
    uint8_t bytes[4];
    ToLittleEndian(static_cast<int32_t>(count), bytes);
    FStream.WriteBuffer(bytes, sizeof bytes);
}

void TWriter::WriteSignature() { FStream.WriteBuffer(FormSignature, sizeof FormSignature); }

void TWriter::WriteValue(TValueType type) { WriteByte(static_cast<uint8_t>(type)); }

void TWriter::WriteInteger(int64_t value) {
    uint8_t bytes[8];
    if (value >= std::numeric_limits<int8_t>::min() && value <= std::numeric_limits<int8_t>::max()) {
        WriteValue(TValueType::vaInt8);
        ToLittleEndian(static_cast<int8_t>(value), bytes);
        FStream.WriteBuffer(bytes, 1);
    } else if (value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max()) {
        WriteValue(TValueType::vaInt16);
        ToLittleEndian(static_cast<int16_t>(value), bytes);
        FStream.WriteBuffer(bytes, 2);
    } else if (value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max()) {
        WriteValue(TValueType::vaInt32);
        ToLittleEndian(static_cast<int32_t>(value), bytes);
        FStream.WriteBuffer(bytes, 4);
    } else {
        WriteValue(TValueType::vaInt64);
        ToLittleEndian(value, bytes);
        FStream.WriteBuffer(bytes, 8);
    }
}

void TWriter::WriteBoolean(bool value) { WriteValue(value ? TValueType::vaTrue : TValueType::vaFalse); }

void TWriter::WriteChar(char value) { WriteString(std::string_view(&value, 1)); }

void TWriter::WriteStr(std::string_view value) {
    if (value.size() > MaxShortString)
        throw EWriteError("Name too long to store: " + std::string(value.substr(0, 32)) + "...");
    WriteByte(static_cast<uint8_t>(value.size()));
    FStream.WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
}

void TWriter::WriteString(std::string_view value) {
    if (value.size() <= MaxShortString) {
        WriteValue(TValueType::vaString);
        WriteStr(value);
        return;
    }
    WriteValue(TValueType::vaLString);
    WriteCount(static_cast<int64_t>(value.size()));
    FStream.WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
}

void TWriter::WriteUtf16String(std::u16string_view value) {
    WriteValue(TValueType::vaWString);
    WriteCount(static_cast<int64_t>(value.size()));
    std::vector<uint8_t> bytes(value.size() * 2);
    for (size_t i = 0; i < value.size(); ++i) ToLittleEndian(value[i], &bytes[i * 2]);
    FStream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void TWriter::WriteWideString(std::wstring_view value) { WriteUtf16String(WideToUtf16(value)); }

void TWriter::WriteIdent(std::string_view ident) {
    if (SameText(ident, "False")) {
        WriteValue(TValueType::vaFalse);
    } else if (SameText(ident, "True")) {
        WriteValue(TValueType::vaTrue);
    } else if (SameText(ident, "nil")) {
        WriteValue(TValueType::vaNil);
    } else {
        WriteValue(TValueType::vaIdent);
        WriteStr(ident);
    }
}

void TWriter::WriteSet(const std::vector<std::string>& names) {
    WriteValue(TValueType::vaSet);
    for (const std::string& name : names)
        if (!name.empty()) WriteStr(name);
    WriteStr("");
}

void TWriter::WriteBinary(const void* data, int64_t count) {
    WriteValue(TValueType::vaBinary);
    WriteCount(count);
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (count > 0) {
        const auto chunk = static_cast<int32_t>(std::min<int64_t>(count, std::numeric_limits<int32_t>::max()));
        FStream.WriteBuffer(bytes, chunk);
        bytes += chunk;
        count -= chunk;
    }
}
