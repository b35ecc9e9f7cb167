// The package reader's default message display.
#include "skin/data/SkinReader.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

void ShowSkinReaderMessage(const std::string& text) {
#ifdef _WIN32
    // The text is ANSI; the box is modal to the thread's active window.
    MessageBoxA(GetActiveWindow(), text.c_str(), nullptr, MB_OK);
#else
    std::fprintf(stderr, "%s\n", text.c_str());
#endif
}
