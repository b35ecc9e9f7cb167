// Filer: the value layer of component streaming — the binary form format's
// value types, TFiler (what DefineProperties talks to), and TReader/TWriter,
// which read and write typed values on a stream. Component reading and
// writing build on them in framework/core/Streaming.h.
//
// Binary form format (all integers little-endian):
//   form      = signature "QFM1", component
//   component = class name (short string), name (short string),
//               { property name (short string), value } 0,
//               { component } 0
//   short string = length byte, bytes
//   value     = type byte, then by type:
//     vaNull 0x00 (ends a list or a collection)    vaList 0x01 { value } vaNull
//     vaInt8 0x02 / vaInt16 0x03 / vaInt32 0x04 / vaInt64 0x13: signed integer
//     vaString 0x06: short string     vaLString 0x0C: int32 count, bytes (ANSI)
//     vaWString 0x12: int32 count, count UTF-16 code units
//     vaIdent 0x07: short string      vaFalse 0x08, vaTrue 0x09, vaNil 0x0D
//     vaBinary 0x0A: int32 count, bytes
//     vaSet 0x0B: { short string } empty short string
//     vaCollection 0x0E: { vaList { property name, value } 0 } vaNull
// Property names may be paths into nested objects ("Font.Name").
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/Streams.h"

class TComponent;
class TReader;
class TWriter;

// The type byte in front of every value of a binary form (table above).
enum class TValueType : uint8_t {
    vaNull = 0x00,
    vaList = 0x01,
    vaInt8 = 0x02,
    vaInt16 = 0x03,
    vaInt32 = 0x04,
    vaString = 0x06,
    vaIdent = 0x07,
    vaFalse = 0x08,
    vaTrue = 0x09,
    vaBinary = 0x0A,
    vaSet = 0x0B,
    vaLString = 0x0C,
    vaNil = 0x0D,
    vaCollection = 0x0E,
    vaWString = 0x12,
    vaInt64 = 0x13,
};

// The four bytes every binary form starts with.
inline constexpr char FormSignature[4] = {'Q', 'F', 'M', '1'};
// Short strings hold at most this many bytes.
inline constexpr size_t MaxShortString = 255;
// Lists, sets, collections and components nest at most this deep.
inline constexpr int MaxValueNesting = 64;

// TFiler: what a persistent object's DefineProperties sees. The reader calls
// the read procedure of the property being read; the writer calls the write
// procedure of every property with data.
class TFiler {
public:
    using TReaderProc = std::function<void(TReader& reader)>;
    using TWriterProc = std::function<void(TWriter& writer)>;
    using TStreamProc = std::function<void(TStream& stream)>;

    explicit TFiler(TStream& stream) : FStream(stream) {}
    virtual ~TFiler() = default;
    TFiler(const TFiler&) = delete;
    TFiler& operator=(const TFiler&) = delete;

    // A property stored as values of its own (a list, say).
    virtual void DefineProperty(std::string_view name, TReaderProc readData, TWriterProc writeData, bool hasData) = 0;
    // A property stored as one block of bytes (vaBinary); the procedures get a
    // stream holding exactly that block.
    virtual void DefineBinaryProperty(std::string_view name, TStreamProc readData, TStreamProc writeData,
                                      bool hasData) = 0;

    TStream& Stream() const { return FStream; }
    // The component at the top of what is being read or written; nullptr if none.
    TComponent* Root() const { return FRoot; }
    void SetRoot(TComponent* root) { FRoot = root; }

protected:
    TStream& FStream;
    TComponent* FRoot = nullptr;
};

// TReader: reads typed values. Every count is checked against the bytes left
// in the stream, so malformed data raises EReadError without reading past it.
class TReader : public TFiler {
public:
    explicit TReader(TStream& stream);

    void DefineProperty(std::string_view name, TReaderProc readData, TWriterProc writeData, bool hasData) override;
    void DefineBinaryProperty(std::string_view name, TStreamProc readData, TStreamProc writeData,
                              bool hasData) override;

    void ReadSignature();
    TValueType ReadValue();
    // The next value's type, without consuming it.
    TValueType NextValue();
    bool EndOfList() { return NextValue() == TValueType::vaNull; }
    void ReadListBegin();
    void ReadListEnd();
    void CheckValue(TValueType expected);

    int64_t ReadInt64();                 // any integer type
    int32_t ReadInteger();               // any integer type that fits 32 bits
    bool ReadBoolean();                  // vaFalse / vaTrue
    char ReadChar();                     // a one-character string
    std::string ReadString();            // vaString, vaLString; vaWString converted to ANSI
    std::wstring ReadWideString();       // vaWString; ANSI strings converted
    std::string ReadIdent();             // vaIdent; vaFalse, vaTrue, vaNil as "False", "True", "nil"
    std::vector<std::string> ReadSet();  // vaSet element names
    std::vector<uint8_t> ReadBinary();   // vaBinary bytes
    // Raw short string (length byte and bytes).
    std::string ReadStr();
    // Skips one value of any type (nested lists and collections included).
    void SkipValue();

    // Bytes left between the position and the end of the stream.
    int64_t Remaining();
    // Raises EReadError with the message.
    [[noreturn]] static void ReadError(const std::string& message);

protected:
    uint8_t ReadByte();
    void ReadExact(void* buffer, int64_t count);
    // The count of a counted value, checked against the bytes left.
    int32_t ReadCount(int64_t unitSize);
    std::string ReadStringOfType(TValueType type);
    std::u16string ReadUtf16Units();
    void SkipValue(int depth);

private:
    int64_t FSize;
};

// TWriter: writes typed values (integers in the smallest type that holds them).
class TWriter : public TFiler {
public:
    explicit TWriter(TStream& stream) : TFiler(stream) {}

    void DefineProperty(std::string_view name, TReaderProc readData, TWriterProc writeData, bool hasData) override;
    void DefineBinaryProperty(std::string_view name, TStreamProc readData, TStreamProc writeData,
                              bool hasData) override;

    void WriteSignature();
    void WriteValue(TValueType type);
    void WriteListBegin() { WriteValue(TValueType::vaList); }
    void WriteListEnd() { WriteValue(TValueType::vaNull); }
    void WriteInteger(int64_t value);
    void WriteBoolean(bool value);
    void WriteChar(char value);
    // vaString up to 255 bytes, vaLString beyond.
    void WriteString(std::string_view value);
    void WriteWideString(std::wstring_view value);
    void WriteUtf16String(std::u16string_view value);
    void WriteIdent(std::string_view ident);
    void WriteSet(const std::vector<std::string>& names);
    void WriteBinary(const void* data, int64_t count);
    void WriteNil() { WriteValue(TValueType::vaNil); }
    // Raw short string; EWriteError beyond 255 bytes.
    void WriteStr(std::string_view value);

protected:
    void WriteByte(uint8_t value);
    void WriteCount(int64_t count);
};
