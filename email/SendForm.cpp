// The send window as built: fields, format list, attachments, the button
// panels with their hover colours, the context menu of the fields.
#include "email/SendForm.h"

#include "mainform/Icons.h"
#include "mainform/MainWindowReads.h"
#include "preferences/PreferencesForm.h"

TForm8* Form8 = nullptr;

const char* const TForm8::RichTextFile = "RichText.rtf";

namespace {

// The fields start right of the longest label, "Blind carbon copy:", and the
// buttons are as wide as the longest caption, "E-mail preferences...", needs.
constexpr int kLabelLeft = 10, kFieldLeft = 120, kFieldWidth = 234, kRowHeight = 24;
constexpr int kButtonLeft = 360, kButtonWidth = 124, kButtonHeight = 25;

std::unique_ptr<TPanelButton> ButtonPanel(TControl* parent, const std::string& caption, int top)
{
    return std::make_unique<TPanelButton>(parent, caption, kButtonLeft, top, kButtonWidth, kButtonHeight);
}

} // namespace

TForm8::TForm8() : TForm("TForm8"), smtp(std::make_unique<TSmtpClient>(this))
{
    SetText("Send as e-mail...");
    SetBorderStyle(TBorderStyle::Dialog, true, false, false);
    SetClientSize(494, 255);
    CenterOnScreen();
    DialogKeys = true;

    BuildFields();
    BuildButtons();
    BuildStatusLine();
    BuildMenu();

    smtp->Port = 25;
    smtp->TimeOut = 30000;
    smtp->ReportLevel = 0;
    smtp->EncodeType = uuMime;
    smtp->ClearParams = true;
    smtp->SubType = mtPlain;
    OpenDialog1.Filter = "All files|*.*";
    OpenDialog1.InitialDir = "c:\\";
    Timer1 = std::make_unique<TTimer>(TTimerOptions{.interval = 50, .enabled = false});
    Timer2 = std::make_unique<TTimer>(TTimerOptions{.interval = 5000, .enabled = false});
    BindEvents();
    SetActiveControl(subject.get());
}

TForm8::~TForm8()
{
    // The component's hidden windows go before the form's.
    smtp.reset();
}

void TForm8::BuildFields()
{
    const char* captions[] = {"Subject:", "Send to:", "Carbon copy:", "Blind carbon copy:", "Reply to:", "Format:",
                              "Attachments:"};
    std::unique_ptr<TLabel>* labels[] = {&Label2, &Label3, &Label4, &Label5, &Label6, &Label7, &Label8};
    for (int i = 0; i < 7; ++i)
        *labels[i] = std::make_unique<TLabel>(this, captions[i], kLabelLeft, 13 + i * kRowHeight);

    // Created in the tab order: subject, sendto, cc, bcc, replyto. The first four
    // are borderless in white frames with the same sunken edge as the fifth's own.
    std::unique_ptr<TPanel>* frames[] = {&Panel2, &Panel3, &Panel4, &Panel5};
    std::unique_ptr<TEdit>* fields[] = {&subject, &sendto, &cc, &bcc};
    for (int i = 0; i < 4; ++i) {
        *frames[i] = std::make_unique<TPanel>(this, kFieldLeft, 9 + i * kRowHeight, kFieldWidth, 21);
        (*frames[i])->SetFieldFrame();
        (*frames[i])->SetColor(clWhite);
        *fields[i] = std::make_unique<TEdit>(frames[i]->get(), 2, 2, kFieldWidth - 8, 14, TEditOptions{.border = false});
    }
    replyto = std::make_unique<TEdit>(this, kFieldLeft, 9 + 4 * kRowHeight, kFieldWidth, 21);
    for (TEdit* field : {subject.get(), sendto.get(), cc.get(), bcc.get(), replyto.get()}) {
        field->SetMaxLength(255);
        field->SetColor(clWhite);
        field->PopupMenu = &PopupMenu1;
    }

    ComboBox1 = std::make_unique<TComboBox>(
        this, kFieldLeft, 9 + 5 * kRowHeight, kFieldWidth,
        TComboBoxOptions{.style = TComboBoxStyle::DropDownList, .dropDownCount = 2});
    ComboBox1->Add("Plain text");
    ComboBox1->Add("Rich text (as attachment)");
    ComboBox1->SetItemIndex(0);
    attach = std::make_unique<TListBox>(this, kFieldLeft, 9 + 6 * kRowHeight, kFieldWidth, 66);
}

void TForm8::BuildButtons()
{
    // Made in the tab order: after the attachment list its two buttons, then
    // the window's own.
    att = ButtonPanel(this, "Add...", 9 + 6 * kRowHeight);
    Panel10 = ButtonPanel(this, "Remove", 9 + 6 * kRowHeight + 31);
    Panel1 = ButtonPanel(this, "Send", 9);
    Panel9 = ButtonPanel(this, "E-mail preferences...", 39);
    Panel12 = ButtonPanel(this, "Close", 69);
}

void TForm8::BuildStatusLine()
{
    Label9 = std::make_unique<TLabel>(this, "Status:", kLabelLeft, 231);
    Label1 = std::make_unique<TLabel>(this, "Idle", 52, 231);
    Gauge1 = std::make_unique<TProgressBar>(this, kButtonLeft - 114, 228, kButtonWidth + 114, 18);
    Gauge1->SetColor(clWindow);
    Gauge1->BarColor = clBlack;
}

void TForm8::BuildMenu()
{
    Cut1 = PopupMenu1.Add("Cut", nullptr, {}, iconCut);
    Copy1 = PopupMenu1.Add("Copy", nullptr, {}, iconCopy);
    Copyall1 = PopupMenu1.Add("Copy all", nullptr, {}, iconCopyAll);
    Paste1 = PopupMenu1.Add("Paste", nullptr, {}, iconPaste);
    N10XPaste1 = PopupMenu1.Add("10 X Paste", nullptr, {}, iconPasteTen);
    if (TImageList* icons = MainIcons())
        PopupMenu1.SetImages(icons);
}

void TForm8::BindEvents()
{
    OnClose = Bind(this, &TForm8::FormClose);
    Timer1->OnTimer = Bind(this, &TForm8::Timer1Timer);
    Timer2->OnTimer = Bind(this, &TForm8::Timer2Timer);

    for (TPanelButton* panel : {att.get(), Panel10.get(), Panel1.get(), Panel9.get(), Panel12.get()})
        panel->OnMouseMove = [this, panel](TObject*, TShiftState, int, int) { ButtonMouseMove(panel); };
    for (TControl* quiet : std::initializer_list<TControl*>{this, Label9.get(), Label1.get(), Panel2.get(),
                                                            Panel3.get(), Panel4.get(), Panel5.get(),
                                                            replyto.get(), attach.get()})
        quiet->OnMouseMove = [this](TObject*, TShiftState, int, int) { BackgroundMouseMove(); };
    attach->OnKeyDown = Bind(this, &TForm8::attachKeyDown);

    smtp->OnHostResolved = Bind(this, &TForm8::smtpHostResolved);
    smtp->OnConnect = Bind(this, &TForm8::smtpConnect);
    smtp->OnSendStart = Bind(this, &TForm8::smtpSendStart);
    smtp->OnSuccess = Bind(this, &TForm8::smtpSuccess);
    smtp->OnFailure = Bind(this, &TForm8::smtpFailure);
    smtp->OnConnectionFailed = Bind(this, &TForm8::smtpConnectionFailed);
    smtp->OnPacketSent = Bind(this, &TForm8::smtpPacketSent);
    smtp->OnInvalidHost = Bind(this, &TForm8::smtpInvalidHost);
    smtp->OnAttachmentNotFound = Bind(this, &TForm8::smtpAttachmentNotFound);
    smtp->OnAuthenticationFailed = Bind(this, &TForm8::smtpAuthenticationFailed);
    smtp->OnSecuring = Bind(this, &TForm8::smtpSecuring);
    smtp->OnSecured = Bind(this, &TForm8::smtpSecured);
    smtp->OnLoggingIn = Bind(this, &TForm8::smtpLoggingIn);
    smtp->OnDisconnect = nullptr;

    // The commands of the button panels and of the fields' context menu.
    Commands.Add("Panel1Click", Bind(this, &TForm8::Panel1Click), {Panel1.get()});
    Commands.Add("attClick", Bind(this, &TForm8::attClick), {att.get()});
    Commands.Add("Panel10Click", Bind(this, &TForm8::Panel10Click), {Panel10.get()});
    Commands.Add("Panel9Click", Bind(this, &TForm8::Panel9Click), {Panel9.get()});
    Commands.Add("Panel12Click", Bind(this, &TForm8::Panel12Click), {Panel12.get()});
    Commands.Add("Cut1Click", Bind(this, &TForm8::Cut1Click), {Cut1});
    Commands.Add("Copy1Click", Bind(this, &TForm8::Copy1Click), {Copy1});
    Commands.Add("Copyall1Click", Bind(this, &TForm8::Copyall1Click), {Copyall1});
    Commands.Add("Paste1Click", Bind(this, &TForm8::Paste1Click), {Paste1});
    Commands.Add("N10XPaste1Click", Bind(this, &TForm8::N10XPaste1Click), {N10XPaste1});
}

// ---- hover colours ----

void TForm8::ButtonMouseMove(TPanelButton* panel)
{
    for (TPanelButton* each : {att.get(), Panel10.get(), Panel1.get(), Panel9.get(), Panel12.get()})
        each->SetHot(each == panel);
}

void TForm8::BackgroundMouseMove() { ButtonMouseMove(nullptr); }

// ---- attachments, preferences, closing ----

void TForm8::attClick(TObject*)
{
    if (OpenDialog1.Execute())
        attach->Add(OpenDialog1.FileName);
}

void TForm8::Panel10Click(TObject*)
{
    if (ActiveControl() != attach.get())
        return;
    int index = attach->ItemIndex();
    if (index >= 0)
        attach->Delete(index);
}

void TForm8::attachKeyDown(TObject*, WORD& key, TShiftState shift)
{
    if (key != VK_DELETE || shift != 0)
        return;
    Commands["Panel10Click"].Execute(attach.get());
    key = 0;
}

void TForm8::Panel9Click(TObject*)
{
    EmailPageFlag = true;
    Form2->ShowModal();
}

void TForm8::Panel12Click(TObject*) { Close(); }

void TForm8::FormClose(TObject*, TCloseAction&) { Panel12->SetHot(false); }

// ---- context menu of the five fields ----

TTextField TForm8::ActiveField() const
{
    return FocusedField(*this, {subject.get(), sendto.get(), cc.get(), bcc.get(), replyto.get()});
}

void TForm8::Cut1Click(TObject*) { ActiveField().Cut(); }
void TForm8::Copy1Click(TObject*) { ActiveField().Copy(); }
void TForm8::Copyall1Click(TObject*) { ActiveField().CopyAll(); }
void TForm8::Paste1Click(TObject*) { ActiveField().Paste(); }
void TForm8::N10XPaste1Click(TObject*) { ActiveField().Paste(10); }
