// The find bar: the text to find and its replacement, Find, Replace and
// Replace all over the editor, and the " Options" menu. The main window
// forwards the names.
#pragma once

#include "mainform/FindText.h"
#include "ui/ActionList.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Menus.h"
#include "ui/RichEdit.h"
#include "ui/StdCtrls.h"

#include <functional>
#include <memory>
#include <string>

class TFindBar {
public:
    // Searches `editor`, which the window makes after the bar, in one piece
    // while `plainMode` says so.
    TFindBar(const std::unique_ptr<TRichEdit>& editor, std::function<bool()> plainMode);

    // The " Options" menu's items.
    void BuildOptions();
    // Makes the bar in the band bar; the two fields take `fieldMenu`.
    void Build(TControl* bandBar, TImageList& icons, TPopupMenu& fieldMenu);

    TPopupMenu PopupMenu2;                           // find options
    TMenuItem *checkbox1, *Searchup, *wword, *mcase; // start at top, up, whole word, case
    std::unique_ptr<TToolBar> ToolBar5;
    std::unique_ptr<TPanel> Panel1, Panel2; // sunken frames of the find and replace fields
    std::unique_ptr<TEdit> fedit;           // the text to find
    std::unique_ptr<TEdit> redit;           // the replacement
    TToolButton* findbutton = nullptr;      // " Find"
    TToolButton* replacebutton = nullptr;   // " Replace"
    TToolButton* replallbutton = nullptr;   // " Replace all"
    TToolButton* ToolButton9 = nullptr;     // " Options", drops down PopupMenu2

    // The rows of the window's command table that Enter in the two fields
    // runs, set as the table is built.
    TAction *FindCommand = nullptr, *ReplaceCommand = nullptr;
    bool ReplacingAll = false; // set while "Replace all" runs
    void ReplaceAllInOnePiece(TFindOptions& options);
    // The search routine with a replacement text (empty: none); the search
    // itself is in FindText.h.
    void find(const std::string& replacement);
    void findbuttonClick(TObject* sender);
    void replacebuttonClick(TObject* sender);
    void replallbuttonClick(TObject* sender);
    void feditKeyPress(TObject* sender, wchar_t& key);
    void reditKeyPress(TObject* sender, wchar_t& key);
    // The check marks of the " Options" menu.
    TFindOptions FindOptions() const;
    void SetFindOptions(const TFindOptions& options);

private:
    const std::unique_ptr<TRichEdit>& editor_;
    std::function<bool()> plainMode_;
};
