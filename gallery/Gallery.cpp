// The skin gallery: every window kind and control the skin engine draws, in one program, with switches
// for the skin. Where a skin designer looks at a skin and where the screenshots come from.
#include <windows.h>

#include "framework/controls/Application.h"
#include "gallery/GalleryForm.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Application->Initialize();
    Application->SetTitle(GalleryTitle);
    try {
        Application->CreateForm(GalleryForm);
    } catch (...) {
        Application->HandleException(Application);  // shown; without a main form Run returns at once
    }
    Application->Run();
    return 0;
}
