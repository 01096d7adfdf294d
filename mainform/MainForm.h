// TForm1: the main window with the editor, its toolbars, menus and side panel.
// The member functions are defined in one file per concern:
//   MainWindow.cpp   start-up, layout, window events and shut-down
//   MainMenus.cpp    the menus and toolbars as built
//   TextModes.cpp    plain and rich text modes
//   DocumentFiles.cpp  New, Open, Re-open, Save, Save as, backup copy
//   SendMail.cpp     opening the send window
#pragma once

#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/RichEdit.h"
#include "ui/SpeedButton.h"
#include "ui/StdCtrls.h"

#include <memory>
#include <string>

class TForm1 : public TForm {
public:
    TForm1();
    ~TForm1() override;

    // ---- menus, dialogs, image lists ----
    TImageList ImageList1; // menu and toolbar icons
    TImageList ImageList2; // empty: menus without icons
    TImageList ImageList3; // colour swatches
    TMainMenu MainMenu1;
    TPopupMenu PopupMenu1; // editing commands of the text fields
    TPopupMenu PopupMenu2; // find options
    TPopupMenu PopupMenu3; // colours
    TPopupMenu PopupMenu4; // empty: no context menu at all
    TOpenDialog OpenDialog1;
    TSaveDialog SaveDialog1;
    TPrintDialog PrintDialog1;
    TColorDialog ColorDialog1; // the editor's background colour
    TColorDialog ColorDialog2; // text colours
    TFontDialog FontDialog1;   // the default font
    TOpenDialog OpenDialog2;   // word-list files
    TSaveDialog SaveDialog2;

    TMenuItem *New1, *Open1, *Reopenlastfile1, *Save1, *SaveAs1, *Sendasemail1, *Print1, *Exit1;
    TMenuItem *Undo1, *Cut1, *Copy1, *Copyall1, *Paste1, *N10XPaste2, *SelectAll1, *ClearSelection1;
    TMenuItem *InsertEurosign1, *Find1;
    TMenuItem *Plaintextmode1, *Richtextmode1, *Importwordlist1, *Exportwordlist1, *Emptywordlist1;
    TMenuItem *ImageViewer1, *Preferences2;
    TMenuItem *Help2, *Associate1, *txt1, *rtf1, *About1;
    TMenuItem *checkbox1, *Searchup, *wword, *mcase; // find options

    // ---- the band bar and its toolbars ----
    std::unique_ptr<TControlBar> ControlBar1;
    std::unique_ptr<TToolBar> ToolBar1, ToolBar2, ToolBar3, ToolBar5, ToolBar6, ToolBar7;
    TToolButton *ToolButton1, *ToolButton2, *ToolButton3, *ToolButton4, *ToolButton28, *ToolButton5, *ToolButton7;
    TToolButton *ToolButton34, *ToolButton35, *ToolButton36, *ToolButton37, *ToolButton38, *ToolButton39;
    TToolButton *ToolButton40, *ToolButton41;
    TToolButton *ToolButton8, *ToolButton27, *ToolButton24, *ToolButton25, *ToolButton29, *ToolButton30;
    TToolButton *ToolButton31, *ToolButton6, *ToolButton32, *ToolButton33;
    TToolButton *findbutton, *replacebutton, *replallbutton, *ToolButton9;
    TToolButton *ToolButton11, *ToolButton12, *ToolButton14, *ToolButton15;
    TToolButton *ToolButton18, *ToolButton19, *ToolButton20, *ToolButton44;
    TToolButton *ToolButton22, *ToolButton23, *ToolButton26;
    std::unique_ptr<TPanel> Panel1, Panel2; // sunken frames of the find and replace fields
    std::unique_ptr<TEdit> fedit, redit;
    std::unique_ptr<TComboBox> ComboBox1;
    std::unique_ptr<TEdit> Edit3;
    std::unique_ptr<TUpDown> UpDown1;
    std::unique_ptr<TPanel> Panel3, Panel4; // frames of the pickers
    std::unique_ptr<TDateTimePicker> DateTimePicker1, DateTimePicker2;

    // ---- the side panel with the word list ----
    std::unique_ptr<TPanel> Panel9;
    std::unique_ptr<TShape> Shape2, Shape1; // top and right edge lines
    std::unique_ptr<TSpeedButton> SpeedButton1, SpeedButton2, SpeedButton3; // Add, Remove, Insert >>
    std::unique_ptr<TPanel> Panel18, Panel10; // frames of the entry field and the list
    std::unique_ptr<TEdit> Edit4;
    std::unique_ptr<TListBox> ListBox1;
    std::unique_ptr<TRichEdit> RichEdit1; // hidden scratch space

    // ---- the editor area ----
    std::unique_ptr<TPanel> Panel11; // holds the ruler and the editor
    std::unique_ptr<TBevel> Bevel2;  // line along the editor area's left edge
    std::unique_ptr<TPanel> Panel19, Panel20;
    std::unique_ptr<TBevel> Bevel3, Bevel4;
    std::unique_ptr<TImage> Image1, Image2, Image3;
    std::unique_ptr<TRichEdit> memo1;

    std::unique_ptr<TTimer> Timer1, Timer2;

    // ---- document state ----
    // The current file name is SaveDialog1.FileName (empty: untitled); the
    // opened file name is OpenDialog1.FileName.
    std::string LastFileName;      // from the store; fixed while the program runs
    bool CommandLineStart = false; // started with a file on the command line
    int InsertAllowance = 0;       // 0, or 16 while "Insert >>" is hidden
    bool Syncing = false;          // the formatting toolbar is being refreshed

    // The command line the program was started with; empty means the real one.
    static std::string CommandLineOverride;

    // Caption rule: "Mibor8", or "Mibor8 - " and the full path.
    static std::string CaptionFor(const std::string& fileName);
    // The word-list frame's height and the "Insert >>" button below it.
    void SetWordListHeight(int height);

    // ---- window events and commands ----
    void FormCreate(TObject* sender);
    void FormActivate(TObject* sender);
    void FormResize(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormClose(TObject* sender, TCloseAction& action);
    void Timer1Timer(TObject* sender);
    void Exit1Click(TObject* sender);
    void Preferences1Click(TObject* sender);
    void Preferences1Click3(TObject* sender);

    // ---- document files (DocumentFiles.cpp) ----
    void BindDocumentEvents();
    void Text2Click(TObject* sender); // New
    void Open1Click(TObject* sender);
    void Reopenlastfile1Click(TObject* sender);
    void Save1Click(TObject* sender);
    void SaveAs1Click(TObject* sender);
    // Writes the editor's content to a file under the current read/write
    // format; the file there before stays whole when the write fails.
    void WriteDocument(const std::string& fileName);
    // The backup copy of New and of closing; on failure the backup field
    // takes `fallback`.
    void BackupCopy(const std::string& fallback);

    // ---- sending as e-mail (SendMail.cpp) ----
    void Sendasemail1Click(TObject* sender);
    void BindSendEvents();

    // ---- text modes ----
    void ToolButton24Click(TObject* sender);
    void ToolButton25Click(TObject* sender);
    void ToolButton44Click(TObject* sender);
    bool PlainMode() const { return ToolButton24->Down(); }
    bool RichMode() const { return ToolButton25->Down(); }
    // Runs the switch to plain mode again while plain mode is on.
    void ApplyPlainModeAgain();
    // Sets the margins of the whole text from the preference fields.
    void SetWholeTextMargins();

    // Loads a file into the editor under the current read format.
    void LoadDocument(const std::string& fileName);

protected:
    void DropFiles(HDROP drop) override;

private:
    void BuildMenus();
    void BuildToolBars();
    void BuildSidePanel();
    void BuildEditorArea();
    void BindEvents();
    void FillFontList();
    void OpenCommandLineFile();
};

extern TForm1* Form1;
