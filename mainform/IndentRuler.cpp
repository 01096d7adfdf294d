// The indent ruler above the editor: three markers that show and set the
// indents of the paragraphs in the selection (arithmetic in RulerRules.h).
#include "mainform/MainForm.h"

#include "mainform/RulerRules.h"
#include "ui/SysUtils.h"

#include <oleacc.h>

namespace {

void MoveTo(TImage& image, int left)
{
    if (image.Left() != left)
        image.SetLeft(left);
}

} // namespace

TImage& TForm1::MarkerImage(TMarker marker) const
{
    switch (marker) {
    case TMarker::First:
        return *Image1;
    case TMarker::Left:
        return *Image2;
    case TMarker::Right:
        break;
    }
    return *Image3;
}

void TForm1::PlaceMarkers(const TParaAttributes& paragraph)
{
    ruler::MarkerLefts lefts =
        ruler::PlaceMarkers(paragraph.firstIndent, paragraph.leftIndent, paragraph.rightIndent, Panel20->ClientWidth());
    MoveTo(*Image1, lefts.first);
    MoveTo(*Image2, lefts.left);
    MoveTo(*Image3, lefts.right);
}

void TForm1::LimitMarker(TMarker marker)
{
    if (marker == TMarker::Right)
        MoveTo(*Image3,
               ruler::LimitRightMarker(Image3->Left(), Image2->Left(), Image1->Left(), Panel20->ClientWidth()));
    else
        MoveTo(MarkerImage(marker), ruler::LimitIndentMarker(MarkerImage(marker).Left(), Image3->Left()));
}

void TForm1::PressMarker(TMarker marker, TMouseButton button, int x)
{
    // Markers are dragged with the left button; another button during a drag
    // ends it, applying nothing.
    if (button != mbLeft) {
        if (Dragging) {
            MarkerCaptureLost(nullptr);
            ReleaseCapture();
        }
        return;
    }
    TImage& image = MarkerImage(marker);
    GrabOffset = image.Width() / 2;
    // The lower markers lie above each other's neighbours while held.
    if (marker != TMarker::First)
        image.BringToFront();
    MoveTo(image, ruler::FollowMouse(image.Left(), x, GrabOffset));
    Dragging = true;
}

void TForm1::MoveMarker(TMarker marker, int x)
{
    LimitMarker(marker);
    if (Dragging) {
        TImage& image = MarkerImage(marker);
        MoveTo(image, ruler::FollowMouse(image.Left(), x, GrabOffset));
    }
}

void TForm1::ReleaseMarker(TMarker marker, TMouseButton button)
{
    if (button != mbLeft || !Dragging)
        return;
    Dragging = false;
    ApplyMarker(marker);
}

void TForm1::ApplyMarker(TMarker marker)
{
    LimitMarker(marker);
    TParaAttributes indent;
    switch (marker) {
    case TMarker::First:
        // The left marker's release follows at once: the other lines stay
        // where the left marker stands.
        LimitMarker(TMarker::Left);
        indent.mask = PFM_STARTINDENT | PFM_OFFSET;
        indent.firstIndent = ruler::FirstIndentAt(Image1->Left());
        indent.leftIndent = ruler::LeftIndentAt(Image2->Left(), indent.firstIndent);
        break;
    case TMarker::Left:
        indent.mask = PFM_OFFSET;
        indent.leftIndent = ruler::LeftIndentAt(Image2->Left(), memo1->Paragraph().firstIndent);
        break;
    case TMarker::Right:
        indent.mask = PFM_RIGHTINDENT;
        indent.rightIndent = ruler::RightIndentAt(Image3->Left(), Panel20->ClientWidth());
        break;
    }
    memo1->SetParagraph(indent);
    memo1SelectionChange(this);
}

int TForm1::MarkerIndent(TMarker marker) const
{
    TParaAttributes paragraph = memo1->Paragraph();
    return marker == TMarker::First ? paragraph.firstIndent
           : marker == TMarker::Left ? paragraph.leftIndent
                                     : paragraph.rightIndent;
}

void TForm1::SetMarkerIndent(TMarker marker, const std::string& text)
{
    // "12" or "12 pt"; the marker goes where that indent stands and is let
    // go there, so its limits apply as they do to a drag.
    std::string number = text;
    if (number.size() > 3 && number.compare(number.size() - 3, 3, " pt") == 0)
        number.resize(number.size() - 3);
    int points = StrToInt(number);
    // Not while a marker is held, nor in plain mode, where the ruler is hidden.
    if (Dragging || !Panel19->Visible())
        return;
    TParaAttributes paragraph = memo1->Paragraph();
    int width = Panel20->ClientWidth();
    switch (marker) {
    case TMarker::First:
        MoveTo(*Image1, ruler::PlaceMarkers(points, 0, 0, width).first);
        break;
    case TMarker::Left:
        MoveTo(*Image2, ruler::PlaceMarkers(paragraph.firstIndent, points, 0, width).left);
        break;
    case TMarker::Right:
        MoveTo(*Image3, ruler::PlaceMarkers(0, 0, points, width).right);
        break;
    }
    ApplyMarker(marker);
}

void TForm1::DescribeMarkers()
{
    // Accessibility tools see each marker as a slider named by its indent,
    // its value the indent in points, which they can also set.
    const std::pair<TMarker, const char*> markers[] = {{TMarker::First, "First-line indent"},
                                                       {TMarker::Left, "Indent of the other lines"},
                                                       {TMarker::Right, "Right indent"}};
    for (const auto& [marker, name] : markers) {
        TMarker which = marker;
        std::string title = name;
        MarkerImage(marker).OnDescribe = [this, which, title](TObject*, TAccessibleItem& item) {
            item.role = ROLE_SYSTEM_SLIDER;
            item.name = title;
            item.value = std::to_string(MarkerIndent(which)) + " pt";
        };
        MarkerImage(marker).OnSetAccessibleValue = [this, which](TObject*, const std::string& text) {
            SetMarkerIndent(which, text);
        };
    }
}

void TForm1::MarkerCaptureLost(TObject*)
{
    if (!Dragging)
        return;
    Dragging = false;
    PlaceMarkers(memo1->Paragraph());
}

void TForm1::Image1MouseDown(TObject*, TMouseButton button, TShiftState, int x, int)
{
    PressMarker(TMarker::First, button, x);
}
void TForm1::Image2MouseDown(TObject*, TMouseButton button, TShiftState, int x, int)
{
    PressMarker(TMarker::Left, button, x);
}
void TForm1::Image3MouseDown(TObject*, TMouseButton button, TShiftState, int x, int)
{
    PressMarker(TMarker::Right, button, x);
}
void TForm1::Image1MouseMove(TObject*, TShiftState, int x, int) { MoveMarker(TMarker::First, x); }
void TForm1::Image2MouseMove(TObject*, TShiftState, int x, int) { MoveMarker(TMarker::Left, x); }
void TForm1::Image3MouseMove(TObject*, TShiftState, int x, int) { MoveMarker(TMarker::Right, x); }
void TForm1::Image1MouseUp(TObject*, TMouseButton button, TShiftState, int, int)
{
    ReleaseMarker(TMarker::First, button);
}
void TForm1::Image2MouseUp(TObject*, TMouseButton button, TShiftState, int, int)
{
    ReleaseMarker(TMarker::Left, button);
}
void TForm1::Image3MouseUp(TObject*, TMouseButton button, TShiftState, int, int)
{
    ReleaseMarker(TMarker::Right, button);
}

void TForm1::Panel20Resize(TObject*)
{
    if (Bevel4)
        Bevel4->SetWidth(Panel20->Width() - 6);
}
