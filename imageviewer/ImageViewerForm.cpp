// The image viewer as built, and its commands.
#include "imageviewer/ImageViewerForm.h"

#include "imageviewer/PictureFiles.h"
#include "imageviewer/PictureGraphics.h"
#include "imageviewer/ViewerIcons.h"
#include "ui/Application.h"
#include "ui/Registry.h"

TForm4* Form4 = nullptr;

const char* const TForm4::DesktopKey = "Control Panel\\Desktop";

namespace {

// The picture that comes with the program, from its resources.
std::unique_ptr<TGraphic> BuiltInPicture()
{
    TOwnedBitmap bitmap = LoadBitmapResource(L"VIEWERPICTURE");
    if (!bitmap)
        return nullptr;
    return std::make_unique<TBitmapGraphic>(std::move(bitmap), TGraphicOptions{.scalesWithDisplay = true});
}

// The strip along the top. A flat toolbar leaves its background to its
// parent, so the strip paints it when the toolbar asks.
class TToolStrip : public TPanel {
public:
    using TPanel::TPanel;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ERASEBKGND) {
            RECT client;
            GetClientRect(Handle(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, SolidBrush(Color()));
            return 1;
        }
        return TPanel::WndProc(message, wParam, lParam);
    }
};

} // namespace

TForm4::TForm4() : TForm("TForm4")
{
    SetText("Image Viewer");
    SetBounds(0, 0, 456, 230);
    SetMinSize(175, 28);
    SetColor(clBlack);
    SetStayOnTop(true);
    CenterOnScreen();

    LoadViewerIcons(ImageList2);
    BuildToolBar();
    Image1 = std::make_unique<TImage>(this, 0, 28, 448, 175);
    Image1->SetAlign(TAlign::Client);
    Image1->Transparent = true;
    Image1->SetPicture(BuiltInPicture());

    OpenPictureDialog1.Title = "Open a new picture";
    OpenPictureDialog1.InitialDir = "c:\\";
    OpenPictureDialog1.Filter = "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
                                "Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|"
                                "Metafiles (*.wmf)|*.wmf|JPG Files (*.jpg)|*.jpg|JPEG Files (*.jpeg)|*.jpeg";
    OpenPictureDialog1.LoadPicture = LoadPictureFile;
    BindEvents();
    Realign();
}

void TForm4::BuildToolBar()
{
    ControlBar1 = std::make_unique<TToolStrip>(this, 0, 0, 448, 28);
    ControlBar1->SetBevels(TBevelCut::None, TBevelCut::None);
    ControlBar1->SetAlign(TAlign::Top);
    ControlBar1->SetColor(clBtnFace);
    ToolBar1 = std::make_unique<TToolBar>(ControlBar1.get(), 222, &ImageList2);
    ToolBar1->SetBounds(2, 3, 222, 22);
    ToolButton1 = ToolBar1->AddButton("Open Image...", nullptr, viewerOpen);
    ToolButton4 = ToolBar1->AddButton("Close Image Viewer", nullptr, viewerClose);
    ToolBar1->AddSeparator();
    ToolButton9 = ToolBar1->AddButton("Copy", nullptr, viewerCopy);
    ToolBar1->AddSeparator();
    ToolButton6 = ToolBar1->AddButton("Center", nullptr, viewerCenter, TToolButtonStyle::Check);
    ToolButton7 = ToolBar1->AddButton("Stretch", nullptr, viewerStretch, TToolButtonStyle::Check);
    ToolBar1->AddSeparator();
    ToolButton2 = ToolBar1->AddButton("To desktop...", nullptr, viewerDesktop);
    // The rest of the bar: "Tile" with its box on the right, out of the tab order.
    const int boxWidth = 56;
    int left = ToolBar1->AddControlSpace(boxWidth);
    CheckBox1 = std::make_unique<TCheckBox>(ToolBar1.get(), "\u00A0\u00A0\u00A0\u00A0Tile", left, 1, boxWidth, 20);
    CheckBox1->SetBoxRight(true);
    SetWindowLongW(CheckBox1->Handle(), GWL_STYLE, GetWindowLongW(CheckBox1->Handle(), GWL_STYLE) & ~WS_TABSTOP);
    CheckBox1->SetChecked(true);
}

void TForm4::BindEvents()
{
    Commands.Add("ToolButton1Click", Bind(this, &TForm4::ToolButton1Click), {ToolButton1});
    Commands.Add("ToolButton4Click", Bind(this, &TForm4::ToolButton4Click), {ToolButton4});
    Commands.Add("ToolButton9Click", Bind(this, &TForm4::ToolButton9Click), {ToolButton9});
    centerCommand_ = &Commands.Add("ToolButton6Click", Bind(this, &TForm4::ToolButton6Click), {ToolButton6});
    stretchCommand_ = &Commands.Add("ToolButton7Click", Bind(this, &TForm4::ToolButton7Click), {ToolButton7});
    Commands.Add("ToolButton2Click", Bind(this, &TForm4::ToolButton2Click), {ToolButton2});
}

// ---- commands ----

void TForm4::ToolButton1Click(TObject*)
{
    if (!OpenPictureDialog1.Execute())
        return;
    bool failed = false;
    try {
        Image1->SetPicture(LoadPictureFile(OpenPictureDialog1.FileName));
    } catch (...) { // every failure of a load reads the same; the picture shown stays
        failed = true;
    }
    // The box is shown once the failure has been handled.
    if (failed)
        Application->ShowMessage("Error!");
}

void TForm4::ToolButton4Click(TObject*) { Close(); }

void TForm4::ToolButton9Click(TObject*)
{
    if (const TGraphic* picture = Image1->Picture())
        CopyPictureToClipboard(*picture, Handle());
}

void TForm4::ToolButton6Click(TObject*)
{
    Image1->SetCenter(!Image1->Center());
    centerCommand_->SetChecked(Image1->Center());
}

void TForm4::ToolButton7Click(TObject*)
{
    Image1->SetStretch(!Image1->Stretch());
    stretchCommand_->SetChecked(Image1->Stretch());
}

void TForm4::ToolButton2Click(TObject*)
{
    const std::string fileName = OpenPictureDialog1.FileName;
    if (fileName.empty())
        return;
    try {
        TRegistry desktop;
        if (!desktop.OpenKey(DesktopKey, true))
            return;
        desktop.WriteString("Wallpaper", fileName);
        desktop.WriteString("TileWallpaper", CheckBox1->Checked() ? "1" : "0");
        desktop.CloseKey();
        // The system reads the values just written (the user profile is not
        // written by this call).
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, nullptr, SPIF_SENDCHANGE);
    } catch (const std::exception&) {
        // A wallpaper that could not be set stays as it was; nothing to tell.
    }
}
