// skininfo PACKAGE: loads a skin package file through TSkinData and prints
// every element, the colour table and the caption buttons.
#include <windows.h>

#include <cstdio>
#include <string>

#include "SkinInfo.h"
#include "skin/data/PellixData.h"
#include "skin/data/SkinReader.h"

namespace {

std::string Utf8(const wchar_t* Text) {
    const int Length = WideCharToMultiByte(CP_UTF8, 0, Text, -1, nullptr, 0, nullptr, nullptr);
    std::string Out(static_cast<size_t>(Length > 0 ? Length - 1 : 0), '\0');
    if (Length > 1) WideCharToMultiByte(CP_UTF8, 0, Text, -1, Out.data(), Length, nullptr, nullptr);
    return Out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: skininfo PACKAGE\n", stderr);
        return 2;
    }
    // A console tool reports the "older skin" message on standard error.
    TSkinReader::SetMessageProc([](const std::string& Text) { std::fprintf(stderr, "%s\n", Text.c_str()); });
    const std::string Path = Utf8(argv[1]);
    if (!FileExists(Path)) {
        std::fprintf(stderr, "skininfo: no such file: %s\n", Path.c_str());
        return 1;
    }
    TSkinData Data(nullptr);
    Data.SetSkinFile(Path);
    std::fputs(DescribeSkin(Data).c_str(), stdout);
    return Data.FSkinLoading ? 1 : 0;
}
