// The find bar: Find, Replace and Replace all over the editor, Enter in its
// two fields, and showing or hiding the bar.
#include "mainform/MainForm.h"

#include "preferences/PreferencesForm.h"
#include "ui/Application.h"
#include "ui/WideText.h"

namespace {

// The editor as the search routine sees it. While `hold` is set, redrawing
// and the editor's change events are held off until the routine reaches
// the end, the caret or the focus.
class TEditorTarget : public TWideFindTarget {
public:
    TEditorTarget(TForm1& form, bool hold) : form_(form), editor_(*form.memo1), holding_(hold)
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
        form_.ReplacingAll = false;
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
    TForm1& form_;
    TRichEdit& editor_;
    bool holding_;
};

} // namespace

TFindOptions TForm1::FindOptions() const
{
    TFindOptions options;
    options.StartAtTop = checkbox1->Checked();
    options.SearchUp = Searchup->Checked();
    options.WholeWord = wword->Checked();
    options.MatchCase = mcase->Checked();
    return options;
}

void TForm1::SetFindOptions(const TFindOptions& options)
{
    checkbox1->SetChecked(options.StartAtTop);
    Searchup->SetChecked(options.SearchUp);
    wword->SetChecked(options.WholeWord);
    mcase->SetChecked(options.MatchCase);
}

void TForm1::find(const std::string& replacement)
{
    TFindOptions options = FindOptions();
    TEditorTarget editor(*this, false);
    FindNext(editor, ToWide(fedit->Text()), ToWide(replacement), options);
    checkbox1->SetChecked(options.StartAtTop);
}

void TForm1::findbuttonClick(TObject*)
{
    if (!fedit->Text().empty())
        find("");
}

void TForm1::replacebuttonClick(TObject*)
{
    if (!fedit->Text().empty())
        find(redit->Text());
}

void TForm1::replallbuttonClick(TObject*)
{
    if (fedit->Text().empty())
        return;
    ReplacingAll = true;
    TFindOptions options = FindOptions();
    if (PlainMode()) {
        ReplaceAllInOnePiece(options);
    } else {
        // Every match keeps the format of its place: one replacement each.
        TEditorTarget editor(*this, true);
        ReplaceAll(editor, ToWide(fedit->Text()), ToWide(redit->Text()), options);
    }
    ReplacingAll = false;
    checkbox1->SetChecked(options.StartAtTop);
}

// Plain mode has one format: the routine runs over a copy of the text, and
// the editor takes the finished text as one replacement of all of it, laid
// out once and undone by one Ctrl+Z. Caret, selection and message come out
// as the routine run on the editor leaves them.
void TForm1::ReplaceAllInOnePiece(TFindOptions& options)
{
    TWideTextBuffer text(memo1->WideText(), memo1->SelStart(), memo1->SelLength());
    ReplaceAll(text, ToWide(fedit->Text()), ToWide(redit->Text()), options);
    {
        TUpdateLock hold(*memo1);
        if (text.Changed()) {
            memo1->Select(0, memo1->TextLength());
            memo1->SetWideSelText(text.Text());
        }
        memo1->Select(text.SelStart(), text.SelLength());
    }
    if (text.Scrolled())
        memo1->ScrollCaret();
    ReplacingAll = false;
    if (text.Finished() > 0)
        Application->ShowMessage("Finished searching/replacing.");
    memo1->SetFocus();
}

// Enter runs the field's command and then reaches the field as usual.
void TForm1::feditKeyPress(TObject*, wchar_t& key)
{
    if (key == '\r')
        Commands["findbuttonClick"].Execute(fedit.get());
}

void TForm1::reditKeyPress(TObject*, wchar_t& key)
{
    if (key == '\r')
        Commands["replacebuttonClick"].Execute(redit.get());
}

// The bar is shown exactly when its "Show this toolbar" preference is ticked;
// applying the preferences stores the choice at once.
void TForm1::ToolButton27Click(TObject*)
{
    bool show = !Form2->shape8->Checked();
    Form2->shape8->SetChecked(show);
    ControlBar1->SetBandVisible(ToolBar5.get(), show);
    Commands["ToolButton27Click"].SetChecked(show);
    Form2->ApplyPreferences();
    memo1->SetFocus();
}
