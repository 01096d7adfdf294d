#include "ui/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Application->SetTitle("Mibor8");
    Application->Run();
    return 0;
}
