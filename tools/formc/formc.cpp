// formc: the form compiler. Turns a text form (.frm) into the binary form the
// program embeds as an RCDATA resource, and a binary form back into text for
// inspection.
//
//   formc FORM.frm FORM.bin        text -> binary
//   formc --text FORM.bin [OUT]    binary -> text (standard output without OUT)
#include <cstdio>
#include <exception>
#include <string>

#include "framework/core/TextForm.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/SysUtils.h"

namespace {

constexpr int ExitUsage = 2;
constexpr int ExitFailure = 1;

int Usage() {
    std::fputs("usage: formc FORM.frm FORM.bin\n       formc --text FORM.bin [FORM.frm]\n", stderr);
    return ExitUsage;
}

std::string ReadTextFile(const std::string& path) {
    TMemoryStream stream;
    stream.LoadFromFile(path);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

int Compile(const std::string& input, const std::string& output) {
    const std::string text = ReadTextFile(input);
    TMemoryStream binary;
    try {
        ObjectTextToBinary(text, binary);
    } catch (const EParserError& e) {
        std::fprintf(stderr, "%s: %s\n", input.c_str(), e.Message().c_str());
        return ExitFailure;
    }
    binary.SaveToFile(output);
    return 0;
}

int Decompile(const std::string& input, const std::string* output) {
    TMemoryStream binary;
    binary.LoadFromFile(input);
    const std::string text = ObjectBinaryToText(binary);
    if (output == nullptr) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    TFileStream file(*output, fmCreate);
    file.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc >= 2 && std::string(argv[1]) == "--text") {
            if (argc == 3) return Decompile(argv[2], nullptr);
            if (argc == 4) {
                const std::string output = argv[3];
                return Decompile(argv[2], &output);
            }
            return Usage();
        }
        if (argc != 3) return Usage();
        return Compile(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "formc: %s\n", e.what());
        return ExitFailure;
    }
}
