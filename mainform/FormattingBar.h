// The formatting toolbar and the indent ruler above the editor: character
// and paragraph formatting of the editor's selection, the toolbar and the
// ruler's markers following the selection. The handlers are in
// Formatting.cpp and IndentRuler.cpp; the main window forwards the names.
#pragma once

#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Menus.h"
#include "ui/RichEdit.h"
#include "ui/StdCtrls.h"

#include <memory>
#include <string>

class TFormattingBar {
public:
    // Formats the selection of `editor`, which the window makes after the
    // toolbar and the ruler.
    explicit TFormattingBar(const std::unique_ptr<TRichEdit>& editor);

    // Makes the toolbar in the band bar: the colour button drops down
    // `colours`; the font and size boxes take `noMenu` as their context menu.
    void Build(TControl* bandBar, TImageList& icons, TPopupMenu& colours, TPopupMenu& noMenu);
    // Makes the ruler strip at the top of the editor area.
    void BuildRuler(TControl* editorArea);

    std::unique_ptr<TToolBar> ToolBar6;
    TToolButton* ToolButton11 = nullptr; // Bold
    TToolButton* ToolButton12 = nullptr; // Italic
    TToolButton* ToolButton14 = nullptr; // Underline
    std::unique_ptr<TComboBox> ComboBox1; // font name
    std::unique_ptr<TEdit> Edit3;         // font size (read-only; UpDown1 steps it)
    std::unique_ptr<TUpDown> UpDown1;
    TToolButton* ToolButton15 = nullptr; // Select color..., drops down the colour menu
    TToolButton* ToolButton18 = nullptr; // Align left (tag 0)
    TToolButton* ToolButton19 = nullptr; // Center (tag 2)
    TToolButton* ToolButton20 = nullptr; // Align right (tag 1)
    TToolButton* ToolButton44 = nullptr; // bullets (check button)
    TColorDialog ColorDialog2;           // text colours

    std::unique_ptr<TPanel> Panel19; // the ruler strip (rich mode only)
    std::unique_ptr<TPanel> Panel20; // the ruler inside it
    std::unique_ptr<TBevel> Bevel3;  // the ruler strip's left edge
    std::unique_ptr<TBevel> Bevel4;  // the ruler's line
    std::unique_ptr<TImage> Image1;  // ruler marker: first-line indent
    std::unique_ptr<TImage> Image2;  // ruler marker: indent of the other lines
    std::unique_ptr<TImage> Image3;  // ruler marker: right indent

    bool Syncing = false;  // the toolbar is being refreshed
    bool Dragging = false; // a marker is held
    int GrabOffset = 0;    // where the held marker is held, from its left

    // ---- character and paragraph formatting (Formatting.cpp) ----
    // Bold, italic, underline: each toggles its style on the selection.
    void ToolButton11Click(TObject* sender);
    void ToolButton12Click(TObject* sender);
    void ToolButton14Click(TObject* sender);
    // Text typed into the font box changes nothing: the box shows the
    // selection's font again. A font chosen from the list is applied.
    void ComboBox1Change(TObject* sender);
    void ComboBox1Select(TObject* sender);
    void Edit3Change(TObject* sender);
    // The colour items (their colours in TextColors.h) and "Custom...".
    void SetSelectionColor(TColor color);
    void Custom1Click(TObject* sender);
    // The three alignment buttons; the sender's tag is the alignment.
    void ToolButton18Click(TObject* sender);
    // Brings the toolbar and the ruler in line with the selection; nothing
    // shown is applied (Syncing is set meanwhile).
    void memo1SelectionChange(TObject* sender);

    // ---- indent ruler (IndentRuler.cpp) ----
    // Image1: first-line indent, Image2: the other lines, Image3: right indent.
    void Image1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image2MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image3MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image1MouseMove(TObject* sender, TShiftState shift, int x, int y);
    void Image2MouseMove(TObject* sender, TShiftState shift, int x, int y);
    void Image3MouseMove(TObject* sender, TShiftState shift, int x, int y);
    void Image1MouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image2MouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image3MouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    // A drag that loses the mouse ends without applying anything.
    void MarkerCaptureLost(TObject* sender);
    void Panel20Resize(TObject* sender);
    // Puts the markers where the paragraph's indents are.
    void PlaceMarkers(const TParaAttributes& paragraph);
    // Accessibility tools see each marker as a slider whose value (the
    // indent in points) they can read and set.
    void DescribeMarkers();

private:
    void ToggleStyle(TFontStyles style, DWORD mask);
    void ShowSelectionFont(bool chosenFromList);
    enum class TMarker { First, Left, Right };
    TImage& MarkerImage(TMarker marker) const;
    void PressMarker(TMarker marker, TMouseButton button, int x);
    void MoveMarker(TMarker marker, int x);
    void ReleaseMarker(TMarker marker, TMouseButton button);
    // Pulls the marker back within its limits and sets the indent it stands for.
    void ApplyMarker(TMarker marker);
    // The indent a marker shows, in points, and setting it from a text ("12 pt").
    int MarkerIndent(TMarker marker) const;
    void SetMarkerIndent(TMarker marker, const std::string& text);
    void LimitMarker(TMarker marker);

    const std::unique_ptr<TRichEdit>& editor_;
};
