// The skin gallery: every window kind and control the skin engine draws, in one program, with switches
// for the skin. Where a skin designer looks at a skin and where the screenshots come from.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "framework/controls/Application.h"
#include "gallery/GalleryForm.h"

namespace {

// The words after the program's name, in the ANSI code page.
std::vector<std::string> CommandLineWords() {
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; words && i < count; ++i) {
        const int size = ::WideCharToMultiByte(CP_ACP, 0, words[i], -1, nullptr, 0, nullptr, nullptr);
        std::string word(size_t(size > 0 ? size - 1 : 0), '\0');
        if (size > 1) ::WideCharToMultiByte(CP_ACP, 0, words[i], -1, word.data(), size, nullptr, nullptr);
        result.push_back(word);
    }
    ::LocalFree(words);
    return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Application->Initialize();
    Application->SetTitle(GalleryTitle);
    try {
        Application->CreateForm(GalleryForm);
        GalleryForm->UseCommandLine(CommandLineWords());
    } catch (...) {
        Application->HandleException(Application);  // shown; without a main form Run returns at once
    }
    Application->Run();
    return 0;
}
