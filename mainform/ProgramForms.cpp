#include "mainform/ProgramForms.h"

#include "about/AboutForm.h"
#include "email/SendForm.h"
#include "form/AuxForm.h"
#include "imageviewer/ImageViewerForm.h"
#include "imageviewer/PictureChecks.h"
#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"
#include "smtp/SocketHost.h"
#include "ui/Application.h"

namespace {

// The socket layer waits and reports through the application.
class TProgramSocketHost : public TSocketHost {
public:
    void ProcessMessages() override { Application->ProcessMessages(); }
    void ReportFailure(const std::string& message) override { Application->ShowError(message); }
};

TProgramSocketHost programSocketHost;

} // namespace

void CreateProgramForms()
{
    InstallSocketHost(&programSocketHost);
    // Pictures in rich text are checked as the viewer's are.
    SetRtfPictureCheck(RichTextPictureFits);
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Application->CreateForm(Form3);
    Application->CreateForm(Form4);
    Application->CreateForm(Form7);
    Application->CreateForm(Form8);
    Form1->LoadHeldDocument();
}

template <typename Form>
static void Destroy(Form*& form)
{
    delete form;
    form = nullptr;
}

void DestroyProgramForms()
{
    Destroy(Form8);
    Destroy(Form7);
    Destroy(Form4);
    Destroy(Form3);
    Destroy(Form2);
    Destroy(Form1);
    InstallSocketHost(nullptr);
}
