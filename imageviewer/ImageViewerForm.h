// TForm4: the image viewer. A picture file is shown centred or stretched,
// copied to the clipboard, and made the desktop wallpaper.
#pragma once

#include "ui/ActionList.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/ExtDlgs.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

#include <memory>
#include <string>

class TForm4 : public TForm {
public:
    TForm4();

    TImageList ImageList2; // the toolbar's pictures
    std::unique_ptr<TPanel> ControlBar1; // the strip along the top, holding one fixed toolbar
    std::unique_ptr<TToolBar> ToolBar1;
    TToolButton *ToolButton1; // Open Image...
    TToolButton *ToolButton4; // Close Image Viewer
    TToolButton *ToolButton9; // Copy
    TToolButton *ToolButton6; // Center (pressed while on)
    TToolButton *ToolButton7; // Stretch (pressed while on)
    TToolButton *ToolButton2; // To desktop...
    std::unique_ptr<TCheckBox> CheckBox1; // Tile, for the wallpaper
    std::unique_ptr<TImage> Image1;       // the picture
    // Keeps the last file chosen, for as long as the program runs: it is
    // also what "To desktop..." makes the wallpaper.
    TOpenPictureDialog OpenPictureDialog1;
    TActionList Commands;

    // The registry key of the wallpaper values (current user).
    static const char* const DesktopKey;

    // ---- commands ----
    void ToolButton1Click(TObject* sender); // Open Image...
    void ToolButton4Click(TObject* sender); // Close Image Viewer
    void ToolButton9Click(TObject* sender); // Copy
    void ToolButton6Click(TObject* sender); // Center
    void ToolButton7Click(TObject* sender); // Stretch
    void ToolButton2Click(TObject* sender); // To desktop...

private:
    TAction* centerCommand_ = nullptr;  // ToolButton6's row
    TAction* stretchCommand_ = nullptr; // ToolButton7's row
    void BuildToolBar();
    void BindEvents();
};

extern TForm4* Form4;
