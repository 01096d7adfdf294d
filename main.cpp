// Mibor8: start-up in the order the windows depend on each other.
#include "about/AboutForm.h"
#include "email/SendForm.h"
#include "form/AuxForm.h"
#include "imageviewer/ImageViewerForm.h"
#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Application->Initialize();
    Application->SetTitle("Mibor8");
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Application->CreateForm(Form3);
    Application->CreateForm(Form4);
    Application->CreateForm(Form7);
    Application->CreateForm(Form8);
    Application->Run();
    return 0;
}
