// The find bar: Find, Replace and Replace all over the editor, Enter in its
// two fields, the options menu.
#include "mainform/FindBar.h"

#include "mainform/Icons.h"
#include "ui/Application.h"
#include "ui/ScopedValue.h"
#include "ui/WideText.h"

namespace {

// The editor as the search routine sees it. While `hold` is set, redrawing
// and the editor's change events are held off until the routine reaches
// the end, the caret or the focus.
class TEditorTarget : public TWideFindTarget {
public:
    TEditorTarget(TFindBar& bar, TRichEdit& editor, bool hold) : bar_(bar), editor_(editor), holding_(hold)
    {
        if (holding_)
            editor_.BeginUpdate();
    }
    ~TEditorTarget() override { Release(); }

    int SelStart() const override { return editor_.SelStart(); }
    int SelLength() const override { return editor_.SelLength(); }
    std::wstring SelText() const override { return editor_.WideSelText(); }
    std::wstring Text() const override { return editor_.WideText(); }
    void Select(int start, int length) override { editor_.Select(start, length); }
    void ReplaceSelection(const std::wstring& text) override { editor_.SetWideSelText(text); }
    void Focus() override
    {
        Release();
        editor_.SetFocus();
    }
    void ScrollCaret() override
    {
        Release();
        editor_.ScrollCaret();
    }
    void ShowFinished() override
    {
        Release();
        bar_.ReplacingAll = false;
        Application->ShowMessage("Finished searching/replacing.");
    }

private:
    void Release()
    {
        if (holding_) {
            holding_ = false;
            editor_.EndUpdate();
        }
    }
    TFindBar& bar_;
    TRichEdit& editor_;
    bool holding_;
};

} // namespace

TFindBar::TFindBar(const std::unique_ptr<TRichEdit>& editor, std::function<bool()> plainMode)
    : editor_(editor), plainMode_(std::move(plainMode))
{
}

void TFindBar::BuildOptions()
{
    checkbox1 = PopupMenu2.Add("Start at top");
    checkbox1->SetChecked(true);
    Searchup = PopupMenu2.Add("Search up");
    wword = PopupMenu2.Add("Whole word");
    mcase = PopupMenu2.Add("Match case");
    for (TMenuItem* option : {checkbox1, Searchup, wword, mcase})
        option->AutoCheck = true;
}

// The fields in sunken white frames, the buttons with captions in blue.
void TFindBar::Build(TControl* bandBar, TImageList& icons, TPopupMenu& fieldMenu)
{
    ToolBar5 = std::make_unique<TToolBar>(bandBar, 496, &icons, TToolBarOptions{.showCaptions = true});
    ToolBar5->SetFontColor(clBlue);
    int left = ToolBar5->AddControlSpace(105);
    Panel1 = std::make_unique<TPanel>(ToolBar5.get(), left, 0, 105, 22);
    Panel1->SetBevels(TBevelCut::Lowered, TBevelCut::Lowered);
    Panel1->SetColor(clWhite);
    fedit = std::make_unique<TEdit>(Panel1.get(), 4, 4, 97, 14, TEditOptions{.border = false, .tabStop = false});
    findbutton = ToolBar5->AddButton(" Find", nullptr, iconFind);
    left = ToolBar5->AddControlSpace(105);
    Panel2 = std::make_unique<TPanel>(ToolBar5.get(), left, 0, 105, 22);
    Panel2->SetBevels(TBevelCut::Lowered, TBevelCut::Lowered);
    Panel2->SetColor(clWhite);
    redit = std::make_unique<TEdit>(Panel2.get(), 4, 4, 97, 14, TEditOptions{.border = false, .tabStop = false});
    replacebutton = ToolBar5->AddButton(" Replace", nullptr, iconReplace);
    replallbutton = ToolBar5->AddButton(" Replace all", nullptr, iconReplaceAll);
    ToolBar5->AddSeparator();
    ToolButton9 = ToolBar5->AddButton(" Options", nullptr, iconOptions, TToolButtonStyle::DropDown);
    ToolButton9->DropdownMenu = &PopupMenu2;
    for (TEdit* field : {fedit.get(), redit.get()}) {
        field->SetFont(TFont("Tahoma", 8, clBlack));
        field->SetMaxLength(50);
        field->PopupMenu = &fieldMenu;
    }
}

TFindOptions TFindBar::FindOptions() const
{
    TFindOptions options;
    options.StartAtTop = checkbox1->Checked();
    options.SearchUp = Searchup->Checked();
    options.WholeWord = wword->Checked();
    options.MatchCase = mcase->Checked();
    return options;
}

void TFindBar::SetFindOptions(const TFindOptions& options)
{
    checkbox1->SetChecked(options.StartAtTop);
    Searchup->SetChecked(options.SearchUp);
    wword->SetChecked(options.WholeWord);
    mcase->SetChecked(options.MatchCase);
}

void TFindBar::find(const std::string& replacement)
{
    TFindOptions options = FindOptions();
    TEditorTarget editor(*this, *editor_, false);
    FindNext(editor, ToWide(fedit->Text()), ToWide(replacement), options);
    checkbox1->SetChecked(options.StartAtTop);
}

void TFindBar::findbuttonClick(TObject*)
{
    if (!fedit->Text().empty())
        find("");
}

void TFindBar::replacebuttonClick(TObject*)
{
    if (!fedit->Text().empty())
        find(redit->Text());
}

void TFindBar::replallbuttonClick(TObject*)
{
    if (fedit->Text().empty())
        return;
    // Cleared on every way out; the routine clears it as it finishes.
    TScopedValue<bool> replacing(ReplacingAll, true);
    TFindOptions options = FindOptions();
    if (plainMode_()) {
        ReplaceAllInOnePiece(options);
    } else {
        // Every match keeps the format of its place: one replacement each.
        TEditorTarget editor(*this, *editor_, true);
        ReplaceAll(editor, ToWide(fedit->Text()), ToWide(redit->Text()), options);
    }
    checkbox1->SetChecked(options.StartAtTop);
}

// Plain mode has one format: the routine runs over a copy of the text, and
// the editor takes the finished text as one replacement of all of it, laid
// out once and undone by one Ctrl+Z. Caret, selection and message come out
// as the routine run on the editor leaves them.
void TFindBar::ReplaceAllInOnePiece(TFindOptions& options)
{
    TWideTextBuffer text(editor_->WideText(), editor_->SelStart(), editor_->SelLength());
    ReplaceAll(text, ToWide(fedit->Text()), ToWide(redit->Text()), options);
    {
        TUpdateLock hold(*editor_);
        if (text.Changed())
            editor_->ReplaceWholeText(text.Text());
        editor_->Select(text.SelStart(), text.SelLength());
    }
    if (text.Scrolled())
        editor_->ScrollCaret();
    ReplacingAll = false;
    if (text.Finished() > 0)
        Application->ShowMessage("Finished searching/replacing.");
    editor_->SetFocus();
}

// Enter runs the field's command and then reaches the field as usual.
void TFindBar::feditKeyPress(TObject*, wchar_t& key)
{
    if (key == '\r')
        FindCommand->Execute(fedit.get());
}

void TFindBar::reditKeyPress(TObject*, wchar_t& key)
{
    if (key == '\r')
        ReplaceCommand->Execute(redit.get());
}
