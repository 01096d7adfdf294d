// A failure inside a paint or a routine that holds device contexts and GDI
// objects gives every one of them back.
#include "tests/windows/TestProgram.h"

#include "ui/Application.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/SysUtils.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

// A control whose paint takes a font, a brush and a memory context with a
// bitmap, and then fails. It keeps the handles so that the test can ask the
// system whether each of them is gone.
class FailingPaint : public TPaintedControl {
public:
    explicit FailingPaint(TControl* parent) : TPaintedControl(parent)
    {
        RegisterOwnClass("FailingPaint");
        CreateHandle("FailingPaint", WS_VISIBLE, 0, 0, 0, 60, 40);
    }
    int paints = 0;
    std::vector<HGDIOBJ> made;

protected:
    void Paint(HDC dc) override
    {
        ++paints;
        TOwnedFont font(CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
        TSelectObject selectFont(dc, font.Get());
        TOwnedBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
        TMemoryDC memory(dc);
        TOwnedBitmap bitmap(CreateCompatibleBitmap(dc, 8, 8));
        TSelectObject selectBitmap(memory, bitmap.Get());
        made.insert(made.end(), {font.Get(), brush.Get(), memory.Get(), bitmap.Get()});
        throw Exception("paint failed");
    }
};

class Window : public TForm {
public:
    Window() : TForm("GdiCleanupWindow") { SetBounds(0, 0, 200, 100); }
};

} // namespace

TEST(GdiCleanup, AFailingPaintAndCaptureLeaveNoObjectBehind)
{
    ScriptedDialogs dialogs;
    SetDialogService(&dialogs);
    Window window;
    FailingPaint control(&window);
    window.Show();
    Pump();
    // Warm up: the first paint makes the fonts and brushes that live as long
    // as the program.
    control.Invalidate();
    control.Update();
    TOwnedBitmap(CaptureWindow(control.Handle(), 60, 40, RGB(255, 255, 255)));
    const DWORD before = GdiObjects();
    control.made.clear();
    for (int i = 0; i < 50; ++i) {
        control.Invalidate();
        control.Update();
        TOwnedBitmap capture = CaptureWindow(control.Handle(), 60, 40, RGB(255, 255, 255));
    }
    EXPECT_GE(control.paints, 100);
    // Where the system counts a process's GDI objects (Wine answers 0), the
    // count is back where it was; everywhere, each handle made is gone, which
    // also shows that the font and bitmap were no longer selected.
    if (before > 0) {
        EXPECT_EQ(GdiObjects(), before);
    }
    ASSERT_EQ(control.made.size(), 4u * 100);
    for (HGDIOBJ object : control.made)
        EXPECT_EQ(GetObjectType(object), 0u);
    // Each failure reached the standard error box.
    ASSERT_FALSE(dialogs.boxes.empty());
    EXPECT_EQ(dialogs.boxes.back().text, "paint failed.");
    window.Hide();
    SetDialogService(nullptr);
}
