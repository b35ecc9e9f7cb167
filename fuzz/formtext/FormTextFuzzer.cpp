// Fuzzes the text form parser: arbitrary text either fails with EParserError
// or compiles to a binary form that converts back to text, and that text
// compiles to the very same binary (the two conversions agree).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "framework/core/TextForm.h"

namespace {

std::string Compile(std::string_view text) {
    TMemoryStream stream;
    ObjectTextToBinary(text, stream);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string binary;
    try {
        binary = Compile(text);
    } catch (const EParserError&) {
        return 0;
    } catch (const EWriteError&) {
        return 0;  // a name longer than a short string
    }
    TReadOnlyMemoryStream stream(binary.data(), static_cast<int64_t>(binary.size()));
    const std::string canonical = ObjectBinaryToText(stream);
    if (Compile(canonical) != binary) std::abort();
    return 0;
}
