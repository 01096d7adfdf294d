// The image viewer's window made hidden in the test process: shown
// and hidden from the main window, its toolbar's commands, the wallpaper
// values, the clipboard, and the picture-open dialog's preview pane.
#include "imageviewer/ImageViewerForm.h"
#include "imageviewer/PictureFiles.h"
#include "mainform/MainForm.h"
#include "tests/imageviewer/PictureSamples.h"
#include "tests/windows/TestProgram.h"
#include "ui/Registry.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class ImageViewerTest : public ProgramTest {
protected:
    void SetUp() override
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, TForm4::DesktopKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "Wallpaper");
            RegDeleteValueA(key, "TileWallpaper");
            RegCloseKey(key);
        }
        ProgramTest::SetUp();
    }

    void Open(const std::string& path)
    {
        dialogs.ChooseFile(path);
        Form4->ToolButton1->Click();
    }
    static std::string Desktop(const std::string& name)
    {
        TRegistry desktop;
        return desktop.OpenKey(TForm4::DesktopKey, false) && desktop.ValueExists(name) ? desktop.ReadString(name)
                                                                                       : "(absent)";
    }
};

TEST_F(ImageViewerTest, ShownAndHiddenAsItWasLeftNeverDestroyed)
{
    // Built hidden, above other windows, its toolbar and Tile box in place.
    HWND window = Form4->Handle();
    EXPECT_FALSE(Form4->Visible());
    EXPECT_EQ(Form4->Text(), "Image Viewer");
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    std::vector<std::string> hints;
    for (const auto& button : Form4->ToolBar1->Buttons())
        hints.push_back(button->Style() == TToolButtonStyle::Separator ? "|" : button->Hint());
    const std::vector<std::string> expected = {"Open Image...", "Close Image Viewer", "|", "Copy", "|", "Center",
                                               "Stretch", "|", "To desktop...", "|"}; // the last holds "Tile"
    EXPECT_EQ(hints, expected);
    EXPECT_EQ(Form4->CheckBox1->Text(), "\u00A0\u00A0\u00A0\u00A0Tile");
    EXPECT_TRUE(Form4->CheckBox1->Checked());
    EXPECT_EQ(Form4->OpenPictureDialog1.Filter,
              "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
              "Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|"
              "Metafiles (*.wmf)|*.wmf|JPG Files (*.jpg)|*.jpg|JPEG Files (*.jpeg)|*.jpeg");

    Form1->ImageViewer1->Click();
    EXPECT_TRUE(Form4->Visible());
    EXPECT_FALSE(Form4->Modal());
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle())); // the user keeps editing
    Form4->ToolButton6->Click();                   // centred
    Form4->ToolButton4->Click();                   // Close Image Viewer
    EXPECT_FALSE(Form4->Visible());
    EXPECT_TRUE(IsWindow(window));
    Form1->ToolButton6->Click(); // the tools toolbar's button
    EXPECT_TRUE(Form4->Visible());
    EXPECT_TRUE(Form4->Image1->Center());
    EXPECT_EQ(Form4->Image1->Picture()->Width(), 448);
    SendMessageA(window, WM_CLOSE, 0, 0); // the title bar's close box
    EXPECT_FALSE(Form4->Visible());
    EXPECT_EQ(Form4->Handle(), window);
}

TEST_F(ImageViewerTest, CentringAndStretchingAreIndependentSwitches)
{
    struct Step {
        TToolButton* TForm4::*button;
        bool center, stretch;
    } steps[] = {
        {&TForm4::ToolButton6, true, false}, {&TForm4::ToolButton7, true, true},
        {&TForm4::ToolButton6, false, true}, {&TForm4::ToolButton7, false, false},
        {&TForm4::ToolButton7, false, true},
    };
    for (const Step& step : steps) {
        (Form4->*step.button)->Click();
        EXPECT_EQ(Form4->Image1->Center(), step.center);
        EXPECT_EQ(Form4->Image1->Stretch(), step.stretch);
        EXPECT_EQ(Form4->ToolButton6->Down(), step.center);
        EXPECT_EQ(Form4->ToolButton7->Down(), step.stretch);
    }
}

TEST_F(ImageViewerTest, EveryFailedOpenSaysErrorAndKeepsThePicture)
{
    Open(SamplePath("baseline.jpg"));
    ASSERT_TRUE(dialogs.boxes.empty());
    const TGraphic* shown = Form4->Image1->Picture();
    EXPECT_EQ(shown->Width(), 61);
    for (const char* bad : {"picture.gif", "cut.jpg", "changed.jpg", "scans-5000.jpg", "no such file.jpg"}) {
        dialogs.boxes.clear();
        Open(SamplePath(bad));
        ASSERT_EQ(dialogs.boxes.size(), 1u) << bad;
        EXPECT_EQ(dialogs.boxes[0].text, "Error!");
        EXPECT_EQ(dialogs.boxes[0].caption, "Mibor8");
        EXPECT_EQ(dialogs.boxes[0].flags & MB_ICONMASK, 0u);
        EXPECT_EQ(Form4->Image1->Picture(), shown) << bad;
    }
    // A cancelled dialog changes nothing.
    dialogs.boxes.clear();
    dialogs.CancelFile();
    Form4->ToolButton1->Click();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(Form4->OpenPictureDialog1.FileName, SamplePath("no such file.jpg"));
}

TEST_F(ImageViewerTest, WallpaperValuesAreWrittenOnlyForAChosenFile)
{
    Form4->ToolButton2->Click(); // no file chosen yet: nothing written
    EXPECT_EQ(Desktop("Wallpaper"), "(absent)");
    EXPECT_EQ(Desktop("TileWallpaper"), "(absent)");

    // A damaged file gives "Error!", yet it is the file chosen last.
    Open(SamplePath("cut.jpg"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Error!");
    Form4->CheckBox1->SetChecked(false);
    Form4->ToolButton2->Click();
    EXPECT_EQ(Desktop("Wallpaper"), SamplePath("cut.jpg"));
    EXPECT_EQ(Desktop("TileWallpaper"), "0");
    Form4->CheckBox1->SetChecked(true);
    Open(SamplePath("baseline.jpg"));
    Form4->ToolButton2->Click();
    EXPECT_EQ(Desktop("Wallpaper"), SamplePath("baseline.jpg"));
    EXPECT_EQ(Desktop("TileWallpaper"), "1");
}

// The clipboard can be opened: it was closed again.
bool ClipboardFree()
{
    if (!OpenClipboard(nullptr))
        return false;
    CloseClipboard();
    return true;
}

TEST_F(ImageViewerTest, CopyPutsItsOwnCopyOnTheClipboardAndClosesIt)
{
    Open(SamplePath("baseline.jpg"));
    Form4->ToolButton9->Click();
    ASSERT_TRUE(ClipboardFree());
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto copied = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    CloseClipboard();
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, static_cast<const TBitmapGraphic*>(Form4->Image1->Picture())->Handle());
    Open(WriteSample("drawing.emf", EnhMetafileBytes())); // the viewer lets go of its bitmap
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(copied, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 61);
    EXPECT_EQ(info.bmHeight, 47);

    Form4->ToolButton9->Click();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP) && !IsClipboardFormatAvailable(CF_ENHMETAFILE));
    EXPECT_TRUE(dialogs.boxes.empty());

    // An icon: emptied first, then refused through the standard error box.
    Open(SamplePath("sizes.ico"));
    Form4->ToolButton9->Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Clipboard does not support Icons.");
    EXPECT_EQ(dialogs.boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(CountClipboardFormats(), 0);
    EXPECT_TRUE(ClipboardFree());
}

TEST_F(ImageViewerTest, CopyWhileAnotherHoldsTheClipboard)
{
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr), done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        OpenClipboard(nullptr);
        SetEvent(opened);
        WaitForSingleObject(done, 10000);
        CloseClipboard();
    });
    WaitForSingleObject(opened, 10000);
    Form4->ToolButton9->Click();
    SetEvent(done);
    holder.join();
    CloseHandle(opened);
    CloseHandle(done);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Cannot open clipboard.");
    EXPECT_EQ(dialogs.boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(ClipboardFree());
}

TEST_F(ImageViewerTest, PreviewPaneShowsThePictureSizeOrNone)
{
    TPicturePreview pane(Form4->Handle(), RECT{0, 0, 200, 220}, LoadPictureFile);
    struct Case {
        std::string file, caption;
        bool enabled;
        std::string box;
    } cases[] = {
        {SamplePath("baseline.jpg"), " (61x47)", true, ""},
        {SamplePath("picture.gif"), "Picture:", false, "(None)"},
        {WriteSample("drawing.emf", EnhMetafileBytes()), " (80x60)", true, ""},
        {SamplePath("cut.jpg"), "Picture:", false, "(None)"},
        {"", "Picture:", false, "(None)"},
    };
    char text[64];
    for (const Case& c : cases) {
        pane.ShowFile(c.file);
        EXPECT_EQ(pane.CaptionText(), c.caption) << c.file;
        EXPECT_EQ(pane.PreviewEnabled(), c.enabled) << c.file;
        GetWindowTextA(pane.Box(), text, sizeof text);
        EXPECT_EQ(std::string(text), c.box) << c.file;
    }
}

} // namespace
