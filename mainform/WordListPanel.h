// The side panel's word list: its controls, the two word-list file dialogs,
// its commands and its sizes. The main window forwards the names.
#pragma once

#include "ui/ActionList.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Menus.h"
#include "ui/RichEdit.h"
#include "ui/SpeedButton.h"
#include "ui/StdCtrls.h"

#include <memory>

class TWordListPanel {
public:
    // "Insert >>" writes into `editor`, which the window makes after the panel.
    explicit TWordListPanel(const std::unique_ptr<TRichEdit>& editor);

    // Makes the panel on the window's left; the entry field takes `fieldMenu`.
    void Build(TControl* window, TPopupMenu& fieldMenu);

    std::unique_ptr<TPanel> Panel9;             // the side panel
    std::unique_ptr<TShape> Shape2, Shape1;     // top and right edge lines
    std::unique_ptr<TSpeedButton> SpeedButton1; // Add
    std::unique_ptr<TSpeedButton> SpeedButton2; // Remove
    std::unique_ptr<TSpeedButton> SpeedButton3; // Insert >>
    std::unique_ptr<TPanel> Panel18, Panel10;   // frames of the entry field and the list
    std::unique_ptr<TEdit> Edit4;               // the next entry
    std::unique_ptr<TListBox> ListBox1;         // the word list, sorted
    TOpenDialog OpenDialog2;                    // word-list files
    TSaveDialog SaveDialog2;
    int InsertAllowance = 0; // 0, or 16 while "Insert >>" is hidden
    // The rows of the window's command table that run Add, Remove and
    // Insert >>, set as the table is built.
    TAction *AddCommand = nullptr, *RemoveCommand = nullptr, *InsertCommand = nullptr;

    void SpeedButton1Click(TObject* sender); // Add
    void SpeedButton2Click(TObject* sender); // Remove
    void SpeedButton3Click(TObject* sender); // Insert >>
    void Importwordlist1Click(TObject* sender);
    void Exportwordlist1Click(TObject* sender);
    void Emptywordlist1Click(TObject* sender);
    void Edit4KeyPress(TObject* sender, wchar_t& key);
    void Edit4Change(TObject* sender);
    void ListBox1DblClick(TObject* sender);
    void ListBox1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ListBox1MouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    // "Add" is enabled exactly when the entry field holds text, "Remove" and
    // "Insert >>" exactly when the list holds an entry.
    void UpdateWordListButtons();
    // With the list empty, "Remove" and "Insert >>" are disabled.
    void DisableWhenEmpty();

    // The list frame's height and the "Insert >>" button below it.
    void SetWordListHeight(int height);
    // Shows or hides "Insert >>"; the list keeps its room only while shown.
    void ShowInsertButton(bool shown);
    // The panel's width and its controls' sizes for the sizes 1 (small) to 3
    // (large).
    void SetPanelSize(int size);

private:
    const std::unique_ptr<TRichEdit>& editor_;
};
