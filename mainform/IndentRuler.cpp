// The indent ruler above the editor: three markers that show and set the
// indents of the paragraphs in the selection (arithmetic in RulerRules.h).
#include "mainform/FormattingBar.h"

#include "mainform/Icons.h"
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
    Dragging = false;
    ApplyMarker(marker);
}

void TFormattingBar::ApplyMarker(TMarker marker)
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

int TFormattingBar::MarkerIndent(TMarker marker) const
{
    TParaAttributes paragraph = editor_->Paragraph();
    return marker == TMarker::First ? paragraph.firstIndent
           : marker == TMarker::Left ? paragraph.leftIndent
                                     : paragraph.rightIndent;
}

void TFormattingBar::SetMarkerIndent(TMarker marker, const std::string& text)
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
    TParaAttributes paragraph = editor_->Paragraph();
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

void TFormattingBar::DescribeMarkers()
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
