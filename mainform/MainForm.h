// TForm1: the main window with the editor, its toolbars, menus and side panel.
// The member functions are defined in one file per concern:
//   MainWindow.cpp   start-up, layout, window events and shut-down
//   MainMenus.cpp    the menus and toolbars as built
//   MainCommands.cpp the command table and the binding of every event
//   TextModes.cpp    plain and rich text modes
//   DocumentFiles.cpp  New, Open, Re-open, Save, Save as, backup copy
//   SendMail.cpp     opening the send window
//   AssociationHelp.cpp  the file association script and the manual
//   WordListPanel.cpp  the word-list panel, a part of its own (WordListPanel.h)
//   FindBar.cpp      the find bar, a part of its own (FindBar.h)
//   Clipboard.cpp    the clipboard and selection commands on the focused field
//   DateTime.cpp     the clock toolbar, a part of its own (ClockBar.h)
//   Formatting.cpp, IndentRuler.cpp  the formatting toolbar and the ruler,
//                    a part of their own (FormattingBar.h)
//   Printing.cpp     printing the document
#pragma once

#include "mainform/ClockBar.h"
#include "mainform/FindBar.h"
#include "mainform/FocusedField.h"
#include "mainform/FormattingBar.h"
#include "mainform/Recovery.h"
#include "mainform/WordListPanel.h"
#include "ui/ActionList.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/Printers.h"
#include "ui/RichEdit.h"
#include "ui/SpeedButton.h"
#include "ui/StdCtrls.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TForm1 : public TForm {
public:
    TForm1();
    ~TForm1() override;

    // ---- menus, dialogs, image lists ----
    TImageList ImageList1; // menu and toolbar icons
    TImageList ImageList2; // empty: menus without icons
    TImageList ImageList3; // colour swatches
    TMainMenu MainMenu1;
    TPopupMenu PopupMenu1; // editing commands of the editor and the three fields
    TPopupMenu PopupMenu3; // colours
    TPopupMenu PopupMenu4; // empty: no context menu at all
    TOpenDialog OpenDialog1;
    TSaveDialog SaveDialog1;
    TPrintDialog PrintDialog1;
    TColorDialog ColorDialog1; // the editor's background colour
    TFontDialog FontDialog1;   // the default font

    TMenuItem *New1, *Open1, *Reopenlastfile1, *Save1, *SaveAs1, *Sendasemail1, *Print1, *Exit1;
    TMenuItem *Undo1, *Cut1, *Copy1, *Copyall1, *Paste1, *N10XPaste2, *SelectAll1, *ClearSelection1;
    TMenuItem *InsertEurosign1, *Find1;
    TMenuItem *Plaintextmode1, *Richtextmode1, *Importwordlist1, *Exportwordlist1, *Emptywordlist1;
    TMenuItem *ImageViewer1, *Preferences2;
    TMenuItem *Help2, *Associate1, *txt1, *rtf1, *About1;
    TMenuItem *Cut2, *Copy2, *Copyall2, *Paste2, *N10XPaste1; // PopupMenu1
    // The colour menu, in its order, and "Custom...".
    TMenuItem *White1, *Silver1, *Gray1, *Black1, *Red1, *Yellow1, *Lime1, *Aqua1, *Blue1, *Fuchsia1;
    TMenuItem *Maroon, *Olive1, *Green1, *Teal1, *Navy1, *Purple1, *Custom1;

    // ---- the editor area: declared before the parts, whose ruler it holds ----
    std::unique_ptr<TPanel> Panel11; // holds the ruler and the editor
    std::unique_ptr<TBevel> Bevel2;  // line along the editor area's left edge

    // ---- the band bar and its toolbars ----
    std::unique_ptr<TControlBar> ControlBar1;
    std::unique_ptr<TToolBar> ToolBar1; // file commands
    TToolButton *ToolButton1;  // New
    TToolButton *ToolButton2;  // Open...
    TToolButton *ToolButton3;  // Re-open last file
    TToolButton *ToolButton4;  // Save
    TToolButton *ToolButton28; // Send as e-mail...
    TToolButton *ToolButton5;  // Print...
    TToolButton *ToolButton7;  // Exit
    std::unique_ptr<TToolBar> ToolBar2; // edit commands
    TToolButton *ToolButton34; // Undo / Redo
    TToolButton *ToolButton35; // Cut
    TToolButton *ToolButton36; // Copy
    TToolButton *ToolButton37; // Copy all
    TToolButton *ToolButton38; // Paste
    TToolButton *ToolButton39; // 10 X Paste
    TToolButton *ToolButton40; // Select all
    TToolButton *ToolButton41; // Clear selection
    std::unique_ptr<TToolBar> ToolBar3; // tools
    TToolButton *ToolButton8;  // insert the euro sign
    TToolButton *ToolButton27; // show or hide the find bar (check button)
    TToolButton *ToolButton24; // plain-text mode (down in plain mode)
    TToolButton *ToolButton25; // rich-text mode (down in rich mode)
    TToolButton *ToolButton29; // Import wordlist...
    TToolButton *ToolButton30; // Export wordlist...
    TToolButton *ToolButton31; // Empty wordlist...
    TToolButton *ToolButton6;  // Image Viewer...
    TToolButton *ToolButton32; // Preferences...
    TToolButton *ToolButton33; // the manual
    // The find bar (FindBar.h).
    TFindBar Find{memo1, [this] { return PlainMode(); }};
    TPopupMenu& PopupMenu2 = Find.PopupMenu2;
    TMenuItem*& checkbox1 = Find.checkbox1;
    TMenuItem*& Searchup = Find.Searchup;
    TMenuItem*& wword = Find.wword;
    TMenuItem*& mcase = Find.mcase;
    std::unique_ptr<TToolBar>& ToolBar5 = Find.ToolBar5;
    std::unique_ptr<TPanel>& Panel1 = Find.Panel1;
    std::unique_ptr<TPanel>& Panel2 = Find.Panel2;
    std::unique_ptr<TEdit>& fedit = Find.fedit;
    std::unique_ptr<TEdit>& redit = Find.redit;
    TToolButton*& findbutton = Find.findbutton;
    TToolButton*& replacebutton = Find.replacebutton;
    TToolButton*& replallbutton = Find.replallbutton;
    TToolButton*& ToolButton9 = Find.ToolButton9;
    bool& ReplacingAll = Find.ReplacingAll;
    // Formatting, with the ruler above the editor (FormattingBar.h).
    TFormattingBar Format{memo1};
    std::unique_ptr<TToolBar>& ToolBar6 = Format.ToolBar6;
    TToolButton*& ToolButton11 = Format.ToolButton11;
    TToolButton*& ToolButton12 = Format.ToolButton12;
    TToolButton*& ToolButton14 = Format.ToolButton14;
    std::unique_ptr<TComboBox>& ComboBox1 = Format.ComboBox1;
    std::unique_ptr<TEdit>& Edit3 = Format.Edit3;
    std::unique_ptr<TUpDown>& UpDown1 = Format.UpDown1;
    TToolButton*& ToolButton15 = Format.ToolButton15;
    TToolButton*& ToolButton18 = Format.ToolButton18;
    TToolButton*& ToolButton19 = Format.ToolButton19;
    TToolButton*& ToolButton20 = Format.ToolButton20;
    TToolButton*& ToolButton44 = Format.ToolButton44;
    TColorDialog& ColorDialog2 = Format.ColorDialog2;
    std::unique_ptr<TPanel>& Panel19 = Format.Panel19;
    std::unique_ptr<TPanel>& Panel20 = Format.Panel20;
    std::unique_ptr<TBevel>& Bevel3 = Format.Bevel3;
    std::unique_ptr<TBevel>& Bevel4 = Format.Bevel4;
    std::unique_ptr<TImage>& Image1 = Format.Image1;
    std::unique_ptr<TImage>& Image2 = Format.Image2;
    std::unique_ptr<TImage>& Image3 = Format.Image3;
    bool& Syncing = Format.Syncing;
    bool& Dragging = Format.Dragging;
    int& GrabOffset = Format.GrabOffset;
    // The clock (ClockBar.h).
    TClockBar Clock{*this, memo1, [this] { return FocusedField(); }};
    std::unique_ptr<TToolBar>& ToolBar7 = Clock.ToolBar7;
    std::unique_ptr<TPanel>& Panel3 = Clock.Panel3;
    std::unique_ptr<TPanel>& Panel4 = Clock.Panel4;
    std::unique_ptr<TDateTimePicker>& DateTimePicker1 = Clock.DateTimePicker1;
    std::unique_ptr<TDateTimePicker>& DateTimePicker2 = Clock.DateTimePicker2;
    TToolButton*& ToolButton22 = Clock.ToolButton22;
    TToolButton*& ToolButton23 = Clock.ToolButton23;
    TToolButton*& ToolButton26 = Clock.ToolButton26;
    std::unique_ptr<TTimer>& Timer2 = Clock.Timer2;
    std::string& LongTimeFormat = Clock.LongTimeFormat;
    std::string& ShortDateFormat = Clock.ShortDateFormat;

    // The commands: each row names its handler and links the menu items,
    // toolbar buttons and pop-up items that run it (MainCommands.cpp).
    TActionList Commands;
    // The rows the window's own code enables, checks or runs, set as the
    // table is built; the parts keep theirs.
    struct TCommandRows {
        TAction *findBar, *plainMode, *richMode, *bold, *italic, *underline, *align, *bullets;
    } CommandRows{};

    // ---- the side panel with the word list (WordListPanel.h) ----
    TWordListPanel WordList{memo1};
    std::unique_ptr<TPanel>& Panel9 = WordList.Panel9;
    std::unique_ptr<TShape>& Shape2 = WordList.Shape2;
    std::unique_ptr<TShape>& Shape1 = WordList.Shape1;
    std::unique_ptr<TSpeedButton>& SpeedButton1 = WordList.SpeedButton1;
    std::unique_ptr<TSpeedButton>& SpeedButton2 = WordList.SpeedButton2;
    std::unique_ptr<TSpeedButton>& SpeedButton3 = WordList.SpeedButton3;
    std::unique_ptr<TPanel>& Panel18 = WordList.Panel18;
    std::unique_ptr<TPanel>& Panel10 = WordList.Panel10;
    std::unique_ptr<TEdit>& Edit4 = WordList.Edit4;
    std::unique_ptr<TListBox>& ListBox1 = WordList.ListBox1;
    TOpenDialog& OpenDialog2 = WordList.OpenDialog2;
    TSaveDialog& SaveDialog2 = WordList.SaveDialog2;
    int& InsertAllowance = WordList.InsertAllowance;
    std::unique_ptr<TRichEdit> RichEdit1; // hidden scratch space (the association script)

    // ---- the editor area ----
    std::unique_ptr<TRichEdit> memo1; // the editor: the document

    std::unique_ptr<TTimer> Timer1; // once, 1 ms after start-up: the size field

    // ---- document state ----
    // The current file name is SaveDialog1.FileName (empty: untitled); the
    // opened file name is OpenDialog1.FileName.
    std::string LastFileName;      // from the store; fixed while the program runs
    bool CommandLineStart = false; // started with a file on the command line
    // How the document's file holds plain text (encoding, byte order mark,
    // line breaks): as it was read, and so written back. A text that came
    // from no plain-text file has none yet (FormatFromFile false): it is
    // written in the ANSI code page where that holds it, else as UTF-8.
    TTextFormat DocumentFormat;
    bool FormatFromFile = false;

    // The command line the program was started with; empty means the real one.
    static std::string CommandLineOverride;

    // Caption rule: "Mibor8", or "Mibor8 - " and the full path.
    static std::string CaptionFor(const std::string& fileName);
    // The word-list frame's height and the "Insert >>" button below it.
    void SetWordListHeight(int height) { WordList.SetWordListHeight(height); }

    // ---- what the Preferences window asks of the main window ----
    // The side panel for a choice of the panel-size group: 0 hides it, 1 to
    // 3 show it small, medium or large (a larger choice: large); a choice
    // below 0 changes nothing.
    void ShowSidePanel(int choice);
    // Shows or hides "Insert >>"; the word list keeps its room only while shown.
    void ShowInsertButton(bool shown) { WordList.ShowInsertButton(shown); }
    // The height the word-list frame fills, by the window height it is taken
    // from: the client height, the outer height, or the outer height while a
    // toolbar band is dragged ("Insert >>" then stays where it is).
    enum class TWordListFit { ClientHeight, OuterHeight, BandDrag };
    int WordListHeight(TWordListFit fit) const;
    void FitWordList(TWordListFit fit);
    // "Reset all Toolbars": every toolbar shown, at its default place.
    void ResetToolBars();
    // The default margins on the whole text in plain mode; margin fields that
    // are not numbers leave the text as it is.
    void ApplyDefaultMargins();

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
    void About1Click(TObject* sender);
    // Image Viewer...: shows the viewer, not modal.
    void ImageViewer1Click(TObject* sender);
    void ToolButton6Click(TObject* sender);

    // ---- document files (DocumentFiles.cpp) ----
    void Text2Click(TObject* sender); // New
    void Open1Click(TObject* sender);
    void Reopenlastfile1Click(TObject* sender);
    void Save1Click(TObject* sender);
    void SaveAs1Click(TObject* sender);
    // Writes the editor's content to a file under the current read/write
    // format, plain text in the document's format or, where that cannot hold
    // the text, as UTF-8; the file there before stays whole when the write
    // fails. Returns the format written.
    TTextFormat WriteDocument(const std::string& fileName);
    // Save and Save as: the write, after which the document's format is the
    // one written; a file whose encoding could not hold the text says so.
    void SaveDocument(const std::string& fileName);
    // The document's format after a load (none: the text was rich text).
    void NoteLoadedFormat(const std::optional<TTextFormat>& format);
    // The backup copy of New and of closing; on failure the backup field
    // takes `fallback`.
    void BackupCopy(const std::string& fallback);

    // ---- sending as e-mail (SendMail.cpp) ----
    void Sendasemail1Click(TObject* sender);

    // ---- text modes ----
    void ToolButton24Click(TObject* sender);
    void ToolButton25Click(TObject* sender);
    void ToolButton44Click(TObject* sender);
    bool PlainMode() const { return ToolButton24->Down(); }
    bool RichMode() const { return ToolButton25->Down(); }
    // Runs the switch to plain mode again while plain mode is on.
    void ApplyPlainModeAgain();
    // The font plain mode gives the whole text: the Preferences sample's.
    TCharAttributes PlainModeFont() const;
    // Sets the margins of the whole text from the preference fields.
    void SetWholeTextMargins();

    // Loads a file into the editor under the current read format.
    void LoadDocument(const std::string& fileName);
    // The command line's file goes into the editor once the start-up has
    // given the editor its size, mode and margins: the text is laid out once.
    void LoadHeldDocument();

    // ---- the recovery copy (Recovery.h, DocumentFiles.cpp) ----
    std::unique_ptr<TRecoveryCopy> Recovery;
    std::unique_ptr<TTimer> RecoveryTimer; // once, after start-up: what a run that did not close left
    // The editor's text in its mode's format, rich text or plain text in UTF-8.
    TRecoveredText RecoverySnapshot();
    // Says where the text a run that did not close left is kept and, when no
    // file was named on the command line, puts it into the editor untitled.
    void TakeUpRecovery();

    // ---- printing (Printing.cpp) ----
    void Print1Click(TObject* sender);
    // The job a confirmed print dialog prints on: by default the chosen
    // printer, taking the dialog's device context (tests give their own).
    std::function<std::unique_ptr<TPrintJob>(TPrintDialog&)> OpenPrintJob = OpenPrinterJob;
    static std::unique_ptr<TPrintJob> OpenPrinterJob(TPrintDialog& dialog);
    // Prints the editor's whole text as one job titled "Mibor8", page after
    // page; returns the first character of each page.
    std::vector<int> PrintDocument(TPrintJob& job);

    // ---- association and help (AssociationHelp.cpp) ----
    void txt1Click(TObject* sender); // Help, Associate with Mibor8, ".txt"
    void rtf1Click(TObject* sender); // the same for ".rtf"
    void Help2Click(TObject* sender); // Help..., F1: the manual
    void ToolButton33Click(TObject* sender); // the manual, from the tools toolbar
    // The one place of the association script, deleted when the window closes.
    static std::string AssociationScriptPath();
    // The registry script that makes files of `extension` (".txt") belong to
    // the file class Mibor-File: four lines.
    static std::vector<std::string> AssociationScript(const std::string& extension);
    // Writes the script for `extension` through the scratch control and hands
    // it to the shell; a failed write raises before anything is opened.
    void Associate(const std::string& extension);
    // The manual "Mibor8.pdf" in the folder of the program's own file.
    static std::string ManualPath();

    // ---- find and replace (FindBar.h) ----
    void find(const std::string& replacement) { Find.find(replacement); }
    void findbuttonClick(TObject* sender) { Find.findbuttonClick(sender); }
    void replacebuttonClick(TObject* sender) { Find.replacebuttonClick(sender); }
    void replallbuttonClick(TObject* sender) { Find.replallbuttonClick(sender); }
    void feditKeyPress(TObject* sender, wchar_t& key) { Find.feditKeyPress(sender, key); }
    void reditKeyPress(TObject* sender, wchar_t& key) { Find.reditKeyPress(sender, key); }
    TFindOptions FindOptions() const { return Find.FindOptions(); }
    void SetFindOptions(const TFindOptions& options) { Find.SetFindOptions(options); }
    void ToolButton27Click(TObject* sender); // shows or hides the find bar

    // ---- word list (WordListPanel.h) ----
    void SpeedButton1Click(TObject* sender) { WordList.SpeedButton1Click(sender); }
    void SpeedButton2Click(TObject* sender) { WordList.SpeedButton2Click(sender); }
    void SpeedButton3Click(TObject* sender) { WordList.SpeedButton3Click(sender); }
    void Importwordlist1Click(TObject* sender) { WordList.Importwordlist1Click(sender); }
    void Exportwordlist1Click(TObject* sender) { WordList.Exportwordlist1Click(sender); }
    void Emptywordlist1Click(TObject* sender) { WordList.Emptywordlist1Click(sender); }
    void Edit4KeyPress(TObject* sender, wchar_t& key) { WordList.Edit4KeyPress(sender, key); }
    void Edit4Change(TObject* sender) { WordList.Edit4Change(sender); }
    void ListBox1DblClick(TObject* sender) { WordList.ListBox1DblClick(sender); }
    void ListBox1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)
    {
        WordList.ListBox1MouseDown(sender, button, shift, x, y);
    }
    void ListBox1MouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)
    {
        WordList.ListBox1MouseUp(sender, button, shift, x, y);
    }
    void UpdateWordListButtons() { WordList.UpdateWordListButtons(); }
    void ControlBar1BandDrag(TObject* sender);

    // ---- character and paragraph formatting, the ruler (FormattingBar.h) ----
    void ToolButton11Click(TObject* sender) { Format.ToolButton11Click(sender); }
    void ToolButton12Click(TObject* sender) { Format.ToolButton12Click(sender); }
    void ToolButton14Click(TObject* sender) { Format.ToolButton14Click(sender); }
    void ComboBox1Change(TObject* sender) { Format.ComboBox1Change(sender); }
    void ComboBox1Select(TObject* sender) { Format.ComboBox1Select(sender); }
    void Edit3Change(TObject* sender) { Format.Edit3Change(sender); }
    void SetSelectionColor(TColor color) { Format.SetSelectionColor(color); }
    void Custom1Click(TObject* sender) { Format.Custom1Click(sender); }
    void ToolButton18Click(TObject* sender) { Format.ToolButton18Click(sender); }
    void memo1SelectionChange(TObject* sender) { Format.memo1SelectionChange(sender); }
    void PlaceMarkers(const TParaAttributes& paragraph) { Format.PlaceMarkers(paragraph); }
    void MarkerCaptureLost(TObject* sender) { Format.MarkerCaptureLost(sender); }
    void Panel20Resize(TObject* sender) { Format.Panel20Resize(sender); }
    // The markers' mouse events (Image1: first-line indent, Image2: the
    // other lines, Image3: right indent) are bound to the part itself.

    // ---- date and time (ClockBar.h) ----
    void Timer2Timer(TObject* sender) { Clock.Timer2Timer(sender); }
    void DateTimePicker1Change(TObject* sender) { Clock.DateTimePicker1Change(sender); }
    void DateTimePicker2Change(TObject* sender) { Clock.DateTimePicker2Change(sender); }
    void ToolButton22Click(TObject* sender) { Clock.ToolButton22Click(sender); }
    void ToolButton23Click(TObject* sender) { Clock.ToolButton23Click(sender); }
    void ToolButton26Click(TObject* sender) { Clock.ToolButton26Click(sender); }

    // ---- clipboard and selection (Clipboard.cpp) ----
    void ToolButton34Click(TObject* sender); // Undo / Redo
    void Cut1Click2(TObject* sender);
    void Copy1Click2(TObject* sender);
    void Copyall1Click(TObject* sender);
    void Paste1Click2(TObject* sender);
    void ToolButton39Click(TObject* sender); // 10 X Paste
    void SelectAll1Click2(TObject* sender);
    void ClearSelection1Click2(TObject* sender);
    void ToolButton8Click(TObject* sender); // the euro sign
    // The one of the find field, the replace field, the editor and the entry
    // field that is the active control; no field when none is.
    TTextField FocusedField() const;
    // Pastes `times` times into the focused field.
    void PasteIntoFocusedField(int times);

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
