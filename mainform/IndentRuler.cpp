// The indent ruler above the editor: three markers that show and set the
// indents of the paragraphs in the selection (arithmetic in RulerRules.h).
#include "mainform/FormattingBar.h"

#include "mainform/Icons.h"
#include "mainform/RulerRules.h"

namespace {

void MoveTo(TImage& image, int left)
{
    if (image.Left() != left)
        image.SetLeft(left);
}

} // namespace

void TFormattingBar::BuildRuler(TControl* editorArea)
{
    Panel19 = std::make_unique<TPanel>(editorArea, 0, 0, 400, 16);
    Panel19->SetBevels(TBevelCut::None, TBevelCut::None);
    Panel19->SetAlign(TAlign::Top);
    Bevel3 = std::make_unique<TBevel>(Panel19.get(), 0, 0, 1, 16, TBevelShape::LeftLine);
    Bevel3->SetAlign(TAlign::Left);
    Panel20 = std::make_unique<TPanel>(Panel19.get(), 0, 0, 400, 16);
    Panel20->SetBevels(TBevelCut::Raised, TBevelCut::None);
    Panel20->SetAlign(TAlign::Client);
    Bevel4 = std::make_unique<TBevel>(Panel20.get(), 3, 7, 394, 2, TBevelShape::TopLine);
    Image1 = std::make_unique<TImage>(Panel20.get(), 2, 1, 10, 6);
    Image2 = std::make_unique<TImage>(Panel20.get(), 2, 9, 10, 6);
    Image3 = std::make_unique<TImage>(Panel20.get(), 386, 9, 10, 6);
    const std::pair<TImage*, RulerMarker> markers[] = {{Image1.get(), RulerMarker::FirstIndent},
                                                       {Image2.get(), RulerMarker::LeftIndent},
                                                       {Image3.get(), RulerMarker::RightIndent}};
    for (const auto& marker : markers) {
        auto bitmap = std::make_unique<TBitmapGraphic>(RulerMarkerBitmap(marker.second));
        bitmap->Transparent = true;
        marker.first->Transparent = true;
        marker.first->SetPicture(std::move(bitmap));
    }
}

TImage& TFormattingBar::MarkerImage(TMarker marker) const
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

void TFormattingBar::PlaceMarkers(const TParaAttributes& paragraph)
{
    ruler::MarkerLefts lefts =
        ruler::PlaceMarkers(paragraph.firstIndent, paragraph.leftIndent, paragraph.rightIndent, Panel20->ClientWidth());
    MoveTo(*Image1, lefts.first);
    MoveTo(*Image2, lefts.left);
    MoveTo(*Image3, lefts.right);
}

void TFormattingBar::LimitMarker(TMarker marker)
{
    if (marker == TMarker::Right)
        MoveTo(*Image3,
               ruler::LimitRightMarker(Image3->Left(), Image2->Left(), Image1->Left(), Panel20->ClientWidth()));
    else
        MoveTo(MarkerImage(marker), ruler::LimitIndentMarker(MarkerImage(marker).Left(), Image3->Left()));
}

void TFormattingBar::PressMarker(TMarker marker, TMouseButton button, int x)
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

void TFormattingBar::MoveMarker(TMarker marker, int x)
{
    LimitMarker(marker);
    if (Dragging) {
        TImage& image = MarkerImage(marker);
        MoveTo(image, ruler::FollowMouse(image.Left(), x, GrabOffset));
    }
}

void TFormattingBar::ReleaseMarker(TMarker marker, TMouseButton button)
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
        indent.leftIndent = ruler::LeftIndentAt(Image2->Left(), editor_->Paragraph().firstIndent);
        break;
    case TMarker::Right:
        indent.mask = PFM_RIGHTINDENT;
        indent.rightIndent = ruler::RightIndentAt(Image3->Left(), Panel20->ClientWidth());
        break;
    }
    editor_->SetParagraph(indent);
    memo1SelectionChange(nullptr);
}

void TFormattingBar::MarkerCaptureLost(TObject*)
{
    if (!Dragging)
        return;
    Dragging = false;
    PlaceMarkers(editor_->Paragraph());
}

void TFormattingBar::Image1MouseDown(TObject*, TMouseButton button, TShiftState, int x, int)
{
    PressMarker(TMarker::First, button, x);
}
void TFormattingBar::Image2MouseDown(TObject*, TMouseButton button, TShiftState, int x, int)
{
    PressMarker(TMarker::Left, button, x);
}
void TFormattingBar::Image3MouseDown(TObject*, TMouseButton button, TShiftState, int x, int)
{
    PressMarker(TMarker::Right, button, x);
}
void TFormattingBar::Image1MouseMove(TObject*, TShiftState, int x, int) { MoveMarker(TMarker::First, x); }
void TFormattingBar::Image2MouseMove(TObject*, TShiftState, int x, int) { MoveMarker(TMarker::Left, x); }
void TFormattingBar::Image3MouseMove(TObject*, TShiftState, int x, int) { MoveMarker(TMarker::Right, x); }
void TFormattingBar::Image1MouseUp(TObject*, TMouseButton button, TShiftState, int, int)
{
    ReleaseMarker(TMarker::First, button);
}
void TFormattingBar::Image2MouseUp(TObject*, TMouseButton button, TShiftState, int, int)
{
    ReleaseMarker(TMarker::Left, button);
}
void TFormattingBar::Image3MouseUp(TObject*, TMouseButton button, TShiftState, int, int)
{
    ReleaseMarker(TMarker::Right, button);
}

void TFormattingBar::Panel20Resize(TObject*)
{
    if (Bevel4)
        Bevel4->SetWidth(Panel20->Width() - 6);
}
