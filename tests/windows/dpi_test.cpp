// The program's windows at the display scales of 100, 125, 150 and 200 %.
// Wine gives a program the DPI of its LogPixels values as the program starts,
// so each scale is a run of the layout cases below in a process of their own.
#include "tests/windows/CaptionFit.h"
#include "tests/windows/TestProgram.h"

#include "about/AboutForm.h"
#include "email/SendForm.h"
#include "imageviewer/ImageViewerForm.h"
#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"
#include "ui/ComCtrls.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <string>
#include <vector>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

// LogPixels of each place Wine reads the display scale from as a program
// starts set to `dpi` (0: removed); the values before (0: there was none).
std::vector<DWORD> SetLogPixels(const std::vector<DWORD>& dpi)
{
    const std::pair<HKEY, const char*> keys[] = {
        {HKEY_CURRENT_USER, "Control Panel\\Desktop"},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts"},
    };
    std::vector<DWORD> before;
    for (size_t i = 0; i < 2; ++i) {
        DWORD value = 0, size = sizeof value;
        const auto [root, key] = keys[i];
        bool had = RegGetValueA(root, key, "LogPixels", RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS;
        before.push_back(had ? value : 0);
        if (dpi[i])
            RegSetKeyValueA(root, key, "LogPixels", REG_DWORD, &dpi[i], sizeof dpi[i]);
        else
            RegDeleteKeyValueA(root, key, "LogPixels");
    }
    return before;
}

// Runs the layout cases of this test program in a process of its own, which
// expects `dpi`; returns its exit code (-1: it did not end in time).
DWORD RunLayoutCases(DWORD dpi)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring line = std::wstring(L"\"") + path + L"\" --gtest_filter=DpiLayout.* --gtest_also_run_disabled_tests";
    SetEnvironmentVariableW(L"MIBOR8_EXPECTED_DPI", std::to_wstring(dpi).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(L"MIBOR8_EXPECTED_DPI", nullptr);
    if (!started)
        return static_cast<DWORD>(-2);
    DWORD code = static_cast<DWORD>(-1);
    // A deadline for a hung run, far beyond what the cases take.
    if (WaitForSingleObject(process.hProcess, 5 * 60 * 1000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

RECT Bounds(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Text(const RECT& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.right - rect.left) +
           "x" + std::to_string(rect.bottom - rect.top);
}

BOOL CALLBACK CollectPlace(HWND window, LPARAM data)
{
    auto* places = reinterpret_cast<std::vector<std::pair<HWND, RECT>>*>(data);
    RECT rect = Bounds(window);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    places->emplace_back(window, rect);
    return TRUE;
}

std::vector<std::pair<HWND, RECT>> ChildPlaces(HWND form)
{
    std::vector<std::pair<HWND, RECT>> places;
    EnumChildWindows(form, CollectPlace, reinterpret_cast<LPARAM>(&places));
    return places;
}

class DpiTest : public StoreTest {};

// The cases a run at one display scale makes.
class DpiLayout : public DpiTest {};

} // namespace

TEST(DpiScales, EveryWindowIsLaidOutForEachDisplayScale)
{
    const std::vector<DWORD> before = SetLogPixels({96, 96});
    for (DWORD dpi : {96, 120, 144, 192}) {
        SetLogPixels({dpi, dpi});
        EXPECT_EQ(0u, RunLayoutCases(dpi)) << "at " << dpi << " DPI (the run's output is above)";
    }
    SetLogPixels(before);
}

// Run by the case above, once for each display scale.
TEST_F(DpiLayout, DISABLED_AtTheSystemScale)
{
    const char* expected = std::getenv("MIBOR8_EXPECTED_DPI");
    ASSERT_NE(nullptr, expected) << "run by DpiScales.EveryWindowIsLaidOutForEachDisplayScale";
    const int dpi = ScreenPixelsPerInch();
    ASSERT_EQ(std::atoi(expected), dpi);
    // The manifest's declaration is in effect: the system does not stretch the program.
    EXPECT_TRUE(IsProcessDPIAware());
    auto scaled = [dpi](int value) { return MulDiv(value, dpi, 96); };
    // Every window fits on the screen, at its first start too.
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    auto fits = [&] {
        for (TForm* form : std::vector<TForm*>{Form1, Form2, Form3, Form4, Form8})
            EXPECT_TRUE(Inside(Bounds(form->Handle()), screen))
                << form->Text() << " at " << Text(Bounds(form->Handle()));
    };
    StartProgram(dialogs);
    fits();
    StopProgram(true);
    // A window place of the store is in the display's pixels.
    for (const auto& value : std::vector<std::pair<std::string, std::string>>{
             {"Mode", "rich"}, {"Left", "10"}, {"Top", "20"}, {"Width", "1200"}, {"Height", "700"}})
        WriteStore(value.first, value.second);
    StartProgram(dialogs);
    EXPECT_EQ("10,20 1200x700", Text(Form1->BoundsInPixels()));
    fits();

    EXPECT_EQ(CaptionFaults(), "");

    // Toolbar buttons and their pictures, the band bar around them.
    LRESULT button = Form1->ToolBar1->Perform(TB_GETBUTTONSIZE);
    EXPECT_EQ(scaled(23), LOWORD(button));
    EXPECT_EQ(scaled(22), HIWORD(button));
    int width = 0, height = 0;
    ImageList_GetIconSize(Form1->ImageList1.Handle(), &width, &height);
    EXPECT_EQ(PictureSizeFor(dpi), width);
    EXPECT_EQ(PictureSizeFor(dpi), height);
    RECT bar = Bounds(Form1->ControlBar1->Handle());
    for (TToolBar* toolBar : {Form1->ToolBar1.get(), Form1->ToolBar2.get(), Form1->ToolBar3.get(),
                              Form1->ToolBar5.get(), Form1->ToolBar6.get(), Form1->ToolBar7.get()}) {
        RECT rect = Bounds(toolBar->Handle());
        EXPECT_EQ(scaled(22), rect.bottom - rect.top);
        // The bar is as high as its rows of bands (a band wider than the
        // window is cut at its right, as at any scale).
        if (GetWindowLongW(toolBar->Handle(), GWL_STYLE) & WS_VISIBLE) {
            EXPECT_TRUE(rect.top >= bar.top && rect.bottom <= bar.bottom)
                << Text(rect) << " outside the band bar " << Text(bar);
        }
    }

    // The ruler's markers stand on the indents: a point is DPI/72 pixels
    // (the marker's middle 7 pixels of a 96-DPI display from the ruler's
    // start, the right one 1 pixel and the indent plus 6 points from its end).
    TParaAttributes indents = TParaAttributes::Indents(36, 18, 54);
    Form1->memo1->SetParagraph(indents);
    Form1->PlaceMarkers(Form1->memo1->Paragraph());
    RECT ruler;
    GetClientRect(Form1->Panel20->Handle(), &ruler);
    auto middle = [](TImage& marker) {
        RECT rect = marker.BoundsInPixels();
        return (rect.left + rect.right) / 2.0;
    };
    const double start = scaled(7), point = dpi / 72.0, within = scaled(2);
    EXPECT_NEAR(start + 36 * point, middle(*Form1->Image1), within);
    EXPECT_NEAR(start + 54 * point, middle(*Form1->Image2), within);
    EXPECT_NEAR(ruler.right - scaled(1) - (54 + 6) * point, middle(*Form1->Image3), within);

    // The editor has its room in the main window.
    RECT editor = Bounds(Form1->memo1->Handle()), client;
    GetClientRect(Form1->Handle(), &client);
    MapWindowPoints(Form1->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_TRUE(Inside(editor, client) && editor.bottom - editor.top > scaled(100)) << Text(editor);
    // Every caption fits in plain mode too.
    Form1->Plaintextmode1->Click();
    EXPECT_TRUE(Form1->PlainMode());
    EXPECT_EQ(CaptionFaults(), "");

    // Closing stores the place as the system reports it.
    StopProgram(true);
    EXPECT_EQ("1200", ReadStore("Width"));
    EXPECT_EQ("10", ReadStore("Left"));
}

TEST_F(DpiTest, ADpiChangeLaysAWindowOutAgainAndBackExactly)
{
    StartProgram(dialogs);
    const int dpi = ScreenPixelsPerInch(), larger = dpi * 3 / 2;
    TForm& form = *Form2;
    const RECT before = form.BoundsInPixels();
    const auto places = ChildPlaces(form.Handle());
    RECT suggested{40, 30, 40 + MulDiv(before.right - before.left, larger, dpi),
                   30 + MulDiv(before.bottom - before.top, larger, dpi)};
    form.Perform(WM_DPICHANGED, MAKEWPARAM(larger, larger), reinterpret_cast<LPARAM>(&suggested));

    EXPECT_EQ(Text(suggested), Text(form.BoundsInPixels()));
    EXPECT_EQ(larger, form.Dpi());
    LOGFONTW font{};
    GetObjectW(form.Font().Handle(), sizeof font, &font);
    EXPECT_EQ(-MulDiv(8, larger, 72), font.lfHeight);
    size_t scaledPlaces = 0;
    for (const auto& place : ChildPlaces(form.Handle())) {
        for (const auto& old : places) {
            if (old.first == place.first && old.second.left > 0 && old.second.right - old.second.left > 4)
                scaledPlaces += std::abs(place.second.left - MulDiv(old.second.left, larger, dpi)) <= 1 &&
                                std::abs((place.second.right - place.second.left) -
                                         MulDiv(old.second.right - old.second.left, larger, dpi)) <= 1;
        }
    }
    EXPECT_GT(scaledPlaces, places.size() / 2);
    EXPECT_EQ(CaptionFaults(), "");

    // The main window's toolbars and band bar follow too.
    RECT main = Form1->BoundsInPixels();
    main.right = main.left + MulDiv(main.right - main.left, larger, dpi);
    main.bottom = main.top + MulDiv(main.bottom - main.top, larger, dpi);
    Form1->Perform(WM_DPICHANGED, MAKEWPARAM(larger, larger), reinterpret_cast<LPARAM>(&main));
    LRESULT button = Form1->ToolBar1->Perform(TB_GETBUTTONSIZE);
    EXPECT_EQ(MulDiv(23, larger, 96), LOWORD(button));
    RECT toolBar = Form1->ToolBar1->BoundsInPixels(), bar = Form1->ControlBar1->BoundsInPixels();
    EXPECT_EQ(MulDiv(22, larger, 96), toolBar.bottom - toolBar.top);
    EXPECT_GE(bar.bottom - bar.top, toolBar.bottom - toolBar.top);
    EXPECT_EQ(CaptionFaults(), "");

    form.Perform(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&before));
    EXPECT_EQ(Text(before), Text(form.BoundsInPixels()));
    const auto after = ChildPlaces(form.Handle());
    ASSERT_EQ(places.size(), after.size());
    for (const auto& place : places) {
        for (const auto& now : after) {
            if (now.first == place.first) {
                EXPECT_EQ(Text(place.second), Text(now.second)) << WindowText(place.first);
            }
        }
    }
}
