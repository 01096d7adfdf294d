// The indent ruler: its markers show the paragraph's indents, and pressing,
// dragging and releasing them sets the indents through the real mouse messages.
#include "tests/formatting/FormattingFixture.h"

#include "mainform/RulerRules.h"

#include <oleacc.h>

namespace {

// Mouse messages to a marker, at x within it.
void Mouse(TImage& marker, UINT message, int x, WPARAM keys = 0)
{
    SendMessageA(marker.Handle(), message, keys, MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), 3));
}

// Presses the marker in its middle, moves it by `by` pixels and lets it go.
void Drag(TImage& marker, int by)
{
    Mouse(marker, WM_LBUTTONDOWN, 5, MK_LBUTTON);
    Mouse(marker, WM_MOUSEMOVE, 5 + by, MK_LBUTTON);
    Mouse(marker, WM_LBUTTONUP, 5);
}

class IndentRulerTest : public FormattingTest {
protected:
    void SetIndents(int first, int left, int right)
    {
        TParaAttributes indents = TParaAttributes::Indents(first, left, right);
        Memo().SetParagraph(indents);
        Form1->memo1SelectionChange(nullptr);
    }
    int Width() const { return Form1->Panel20->ClientWidth(); }
    TImage& First() { return *Form1->Image1; }
    TImage& Left() { return *Form1->Image2; }
    TImage& Right() { return *Form1->Image3; }
};

} // namespace

TEST_F(IndentRulerTest, ZeroIndentsShowAtTwoTwoAndTheRulersEndAndTheLineSpansTheRuler)
{
    Memo().SetSelText("text");
    SetIndents(0, 0, 0);
    ASSERT_GT(Width(), 500);
    EXPECT_EQ(First().Left(), 2);
    EXPECT_EQ(First().Top(), 1);
    EXPECT_EQ(Left().Left(), 2);
    EXPECT_EQ(Left().Top(), 9);
    EXPECT_EQ(Right().Left(), Width() - 14);
    EXPECT_EQ(Form1->Bevel4->Width(), Form1->Panel20->Width() - 6);
}

TEST_F(IndentRulerTest, PlacingAndReleasingEachMarkerGivesTheSameIndentsFromZeroToTwoHundred)
{
    Memo().SetSelText("text");
    for (int points = 0; points <= 200; ++points) {
        SCOPED_TRACE(points);
        SetIndents(points, 0, 0);
        Drag(First(), 0);
        SetIndents(0, points, 0);
        Drag(Left(), 0);
        SetIndents(0, 0, points);
        Drag(Right(), 0);
        TParaAttributes paragraph = Memo().Paragraph();
        ASSERT_EQ(paragraph.firstIndent, 0);
        ASSERT_EQ(paragraph.leftIndent, 0);
        ASSERT_EQ(paragraph.rightIndent, points);
        SetIndents(points, 0, 0);
        Drag(First(), 0);
        ASSERT_EQ(Memo().Paragraph().firstIndent, points);
        SetIndents(0, points, 0);
        Drag(Left(), 0);
        ASSERT_EQ(Memo().Paragraph().leftIndent, points);
    }
}

TEST_F(IndentRulerTest, DraggingSetsTheIndentsByTheMarkersPlaces)
{
    Memo().SetSelText("first paragraph\r\nsecond paragraph\r\nthird");
    const TParaAttributes third = Memo().Paragraph();
    Memo().Select(3, 20); // the first two paragraphs
    SetIndents(0, 0, 0);

    // The first-line marker right of the left marker: the other lines start
    // left of the first one, where the left marker stands.
    Drag(First(), 40);
    EXPECT_EQ(Memo().Paragraph().firstIndent, ruler::FirstIndentAt(42));
    EXPECT_EQ(Memo().Paragraph().leftIndent, -ruler::FirstIndentAt(42));
    EXPECT_EQ(First().Left(), 42);
    EXPECT_EQ(Left().Left(), 2);

    Drag(Left(), 60);
    EXPECT_EQ(Memo().Paragraph().leftIndent, ruler::PixelsToPoints(61) - ruler::FirstIndentAt(42));
    Drag(Right(), -40);
    EXPECT_EQ(Memo().Paragraph().rightIndent, ruler::RightIndentAt(Width() - 54, Width()));

    // Both selected paragraphs have them, the third not.
    TParaAttributes firstParagraph = Memo().Paragraph();
    Memo().Select(20, 0);
    TParaAttributes second = Memo().Paragraph();
    EXPECT_EQ(second.firstIndent, firstParagraph.firstIndent);
    EXPECT_EQ(second.leftIndent, firstParagraph.leftIndent);
    EXPECT_EQ(second.rightIndent, firstParagraph.rightIndent);
    Memo().Select(36, 0);
    EXPECT_EQ(Memo().Paragraph().firstIndent, third.firstIndent);
    EXPECT_EQ(Memo().Paragraph().rightIndent, third.rightIndent);
}

TEST_F(IndentRulerTest, AMarkerPastItsLimitIsPulledBackByTheNextMoveOrTheRelease)
{
    Memo().SetSelText("text");
    SetIndents(0, 0, 0);
    const struct {
        TImage* marker;
        int by;
        int limit; // where the marker ends after the release
    } kCases[] = {{Form1->Image1.get(), -30, 2}, {Form1->Image2.get(), -30, 2}, {Form1->Image3.get(), 60, -14},
                  {Form1->Image1.get(), 2000, -14}};
    for (const auto& entry : kCases) {
        SCOPED_TRACE(entry.by);
        TImage& marker = *entry.marker;
        int start = marker.Left();
        Mouse(marker, WM_LBUTTONDOWN, 5, MK_LBUTTON);
        Mouse(marker, WM_MOUSEMOVE, 5 + entry.by, MK_LBUTTON);
        EXPECT_EQ(marker.Left(), start + entry.by); // beyond the limit for now
        Mouse(marker, WM_LBUTTONUP, 5);
        EXPECT_EQ(marker.Left(), entry.limit > 0 ? entry.limit : Width() + entry.limit);
        EXPECT_FALSE(Form1->Dragging);
        SetIndents(0, 0, 0);
    }
    // A move pulls back too, before following the mouse.
    Mouse(First(), WM_LBUTTONDOWN, 5, MK_LBUTTON);
    Mouse(First(), WM_MOUSEMOVE, -20, MK_LBUTTON);
    Mouse(First(), WM_MOUSEMOVE, 5, MK_LBUTTON);
    EXPECT_EQ(First().Left(), 2);
    Mouse(First(), WM_LBUTTONUP, 5);
    EXPECT_EQ(Memo().Paragraph().firstIndent, 0);
}

TEST_F(IndentRulerTest, ADragThatLosesTheMouseEndsWithoutApplying)
{
    Memo().SetSelText("text");
    SetIndents(10, 0, 0);
    const std::string before = Rtf();
    const int home = First().Left();
    const struct {
        const char* what;
        std::function<void()> loseIt;
    } kWays[] = {
        {"another window takes the mouse", [] { SetCapture(Form1->memo1->Handle()); }},
        {"a message box is coming", [] { SendMessageA(Form1->Handle(), WM_CANCELMODE, 0, 0); }},
        {"a second button", [&] { Mouse(First(), WM_RBUTTONDOWN, 5, MK_LBUTTON | MK_RBUTTON); }},
    };
    for (const auto& way : kWays) {
        SCOPED_TRACE(way.what);
        Mouse(First(), WM_LBUTTONDOWN, 5, MK_LBUTTON);
        Mouse(First(), WM_MOUSEMOVE, 35, MK_LBUTTON);
        ASSERT_EQ(First().Left(), home + 30);
        way.loseIt();
        ReleaseCapture();
        EXPECT_FALSE(Form1->Dragging);
        EXPECT_EQ(First().Left(), home);
        // A later hover and release move and apply nothing.
        Mouse(First(), WM_MOUSEMOVE, 40);
        Mouse(First(), WM_LBUTTONUP, 40);
        EXPECT_EQ(First().Left(), home);
        EXPECT_EQ(Rtf(), before);
    }
}

TEST_F(IndentRulerTest, AccessibilityToolsReadAndSetEachMarkersIndentInPoints)
{
    Memo().SetSelText("text");
    SetIndents(30, -10, 24);
    const struct {
        TImage* marker;
        const char* name;
        const char* shown;   // the value read first
        const char* set;     // what the tool sets
        int first, left, right; // the indents then
    } kCases[] = {
        {Form1->Image1.get(), "First-line indent", "30 pt", "45 pt", 45, -25, 24}, // the other lines stay
        {Form1->Image2.get(), "Indent of the other lines", "-25 pt", "12", 45, 12, 24},
        {Form1->Image3.get(), "Right indent", "24 pt", "0 pt", 45, 12, 0},
        {Form1->Image1.get(), "First-line indent", "45 pt", "-40", 0, 57, 0}, // pulled back to the ruler's start
    };
    for (const auto& entry : kCases) {
        SCOPED_TRACE(entry.set);
        AccessibleView seen = Accessible(entry.marker->Handle());
        EXPECT_EQ(seen.role, ROLE_SYSTEM_SLIDER);
        EXPECT_EQ(seen.name, entry.name);
        EXPECT_EQ(seen.value, entry.shown);
        EXPECT_EQ(SetAccessibleValue(entry.marker->Handle(), entry.set), S_OK);
        TParaAttributes paragraph = Memo().Paragraph();
        EXPECT_EQ(paragraph.firstIndent, entry.first);
        EXPECT_EQ(paragraph.leftIndent, entry.left);
        EXPECT_EQ(paragraph.rightIndent, entry.right);
    }
    // Not a number: refused, nothing changes; in plain mode the hidden ruler sets nothing.
    const std::string before = Rtf();
    EXPECT_NE(SetAccessibleValue(Form1->Image3->Handle(), "wide"), S_OK);
    Form1->Panel19->SetVisible(false);
    EXPECT_EQ(SetAccessibleValue(Form1->Image3->Handle(), "40"), S_OK);
    EXPECT_EQ(Rtf(), before);
    Form1->Panel19->SetVisible(true);
}

TEST_F(IndentRulerTest, WideningTheWindowMovesTheRightMarkerWithTheRulersEnd)
{
    Memo().SetSelText("text");
    SetIndents(0, 0, 24);
    const int fromEnd = Width() - Right().Left();
    Form1->SetBounds(Form1->Left(), Form1->Top(), Form1->Width() + 150, Form1->Height());
    EXPECT_EQ(Width() - Right().Left(), fromEnd);
    EXPECT_EQ(Form1->Bevel4->Width(), Form1->Panel20->Width() - 6);
    EXPECT_EQ(Memo().Paragraph().rightIndent, 24);
}
