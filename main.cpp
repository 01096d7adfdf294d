// Mibor8: the application's title, its windows, the message loop.
#include "mainform/ProgramForms.h"
#include "ui/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Application->Initialize();
    Application->SetTitle("Mibor8");
    CreateProgramForms();
    Application->Run();
    DestroyProgramForms();
    return 0;
}
