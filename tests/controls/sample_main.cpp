// Shows the sample form until it is closed (for screenshots of the framework's own look).
#include <windows.h>

#include "SampleForm.h"
#include "framework/controls/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TSampleForm* form = nullptr;
    Application->Initialize();
    Application->SetTitle("Framework sample");
    Application->CreateForm(form);
    Application->Run();
    return 0;
}
