// The picture-open dialog: the open dialog with a preview pane beside the
// file list, and the pane itself, which works in any window.
#pragma once

#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

// Reads a picture file for the preview; raises on any failure.
using TPictureLoader = std::function<std::unique_ptr<TGraphic>(const std::string& fileName)>;

class TOpenPictureDialog : public TOpenDialog {
public:
    TPictureLoader LoadPicture;
    bool Execute() override { return Dialogs().ExecuteOpenPicture(*this); }
};

// Where the preview box draws a picture: unscaled and centred when it fits,
// else scaled down keeping its proportions, anchored at the top left and
// wholly inside the box.
struct TPreviewPlace {
    int left, top, width, height;
};
TPreviewPlace PreviewPlace(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight);

// The preview pane: a caption line (" (640x480)" or "Picture:"), the
// "Preview" button that opens the picture in a window of its own, and the box
// that shows the picture or "(None)".
class TPicturePreview {
public:
    // Made as child windows of `parent` in `area` (client coordinates).
    TPicturePreview(HWND parent, const RECT& area, TPictureLoader load);
    ~TPicturePreview();
    TPicturePreview(const TPicturePreview&) = delete;
    TPicturePreview& operator=(const TPicturePreview&) = delete;

    // Shows the picture of a file, or none when it is not a picture the
    // loader reads (or no file: an empty name).
    void ShowFile(const std::string& fileName);
    const TGraphic* Picture() const { return picture_.get(); }
    std::string CaptionText() const;
    bool PreviewEnabled() const { return IsWindowEnabled(button_) != 0; }
    // The modal "Preview" window with the picture stretched in it.
    void OpenPreviewWindow();

    HWND CaptionWindow() const { return caption_; }
    HWND Button() const { return button_; }
    HWND Box() const { return box_; }
    // Whether a WM_COMMAND came from the "Preview" button.
    bool IsButtonClick(WPARAM wParam, LPARAM lParam) const;

private:
    static LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void PaintBox(HDC dc) const;

    TPictureLoader load_;
    std::unique_ptr<TGraphic> picture_;
    HWND caption_, button_, box_, tip_;
    TOwnedFont font_;
};
