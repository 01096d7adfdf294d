// The indent ruler above the editor: three markers that show and set the
// indents of the paragraphs in the selection (arithmetic in RulerRules.h).
#include "mainform/MainForm.h"

#include "mainform/RulerRules.h"

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
    LimitMarker(marker);
    Dragging = false;
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
