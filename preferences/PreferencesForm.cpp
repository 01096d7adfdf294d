// The Preferences window as built: its window, page buttons, the six pages
// with their controls, and the create event.
#include "preferences/PreferencesForm.h"

#include "email/SendForm.h"
#include "mainform/MainForm.h"
#include "mainform/ProgramPaths.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"

TForm2* Form2 = nullptr;

namespace {

constexpr int kPageLeft = 16, kPageTop = 8, kPageWidth = 361, kPageHeight = 305;
constexpr int kButtonLeft = 393, kButtonWidth = 177, kButtonHeight = 25;

std::unique_ptr<TPanelButton> PageButton(TControl* parent, const std::string& caption, int top)
{
    return std::make_unique<TPanelButton>(parent, caption, kButtonLeft, top, kButtonWidth, kButtonHeight);
}

std::unique_ptr<TPanel> Page(TControl* parent)
{
    auto page = std::make_unique<TPanel>(parent, kPageLeft, kPageTop, kPageWidth, kPageHeight);
    page->SetBevels(TBevelCut::Lowered, TBevelCut::None);
    return page;
}

} // namespace

TForm2::TForm2() : TForm("TForm2")
{
    SetText("Preferences");
    SetBorderStyle(TBorderStyle::Dialog, false, false, false);
    SetClientSize(586, 319);
    SetStayOnTop(true);
    CenterOnScreen();
    DialogKeys = true;

    BuildPageButtons();
    BuildGeneralPage();
    BuildToolbarsPage();
    BuildInfoPage();
    BuildBackupPage();
    BuildAddTextPage();
    BuildEmailPage();
    for (TEdit* field : {Edit1.get(), Edit2.get(), Edit4.get(), Edit3.get(), server.get(), port.get(), id.get(),
                         name.get(), email.get(), password.get()})
        field->PopupMenu = &Form1->PopupMenu4;
    for (size_t i = 0; i < Pages().size(); ++i)
        Pages()[i]->PlaceAfter(*PageButtons()[i]);
    speedbutton2->PlaceAfter(*EmailPage);
    ShowPage(InfoPage.get());
    BindEvents();
}

void TForm2::BuildPageButtons()
{
    Panel16 = PageButton(this, "Info", 8);
    Panel14 = PageButton(this, "General", 35);
    Panel15 = PageButton(this, "Toolbars", 62);
    Panel17 = PageButton(this, "Backup and save", 89);
    Panel19 = PageButton(this, "Add text panel", 116);
    Panel18 = PageButton(this, "E-mail", 143);
    speedbutton2 = PageButton(this, "Ok", 288);
}

void TForm2::BuildGeneralPage()
{
    GeneralPage = Page(this);
    TPanel* page = GeneralPage.get();
    SpeedButton4 = std::make_unique<TButton>(page, "Default font...", 16, 16, 120, 24);
    SpeedButton4->SetHint("Changes the font of your text");
    SpeedButton5 = std::make_unique<TButton>(page, "Background...", 16, 46, 120, 24);
    SpeedButton5->SetHint("Changes the backgroundcolor");
    Edit1 = std::make_unique<TEdit>(page, 150, 16, 195, 54);
    Edit1->SetReadOnly(true);
    Edit1->SetColor(clWhite);
    Edit1->SetText("This is the default font.");
    Edit1->SetHint("Shows the default font and the background color");
    shape11 = std::make_unique<TCheckBox>(page, "Show icons in menu", 16, 92, 200, 20);
    shape11->SetChecked(true);
    shape3 = std::make_unique<TCheckBox>(page, "Read-only", 16, 116, 200, 20);
    Label10 = std::make_unique<TLabel>(page, "Default left margin (pixels):", 16, 157);
    Edit2 = std::make_unique<TEdit>(page, 200, 153, 40, 21);
    Edit2->SetMaxLength(3);
    Edit2->SetText("5");
    Label11 = std::make_unique<TLabel>(page, "Default right margin (pixels):", 16, 187);
    Edit4 = std::make_unique<TEdit>(page, 200, 183, 40, 21);
    Edit4->SetMaxLength(3);
    Edit4->SetText("5");
}

void TForm2::BuildToolbarsPage()
{
    ToolbarsPage = Page(this);
    TPanel* page = ToolbarsPage.get();
    std::unique_ptr<TCheckBox>* boxes[] = {&shape10, &shape1, &shape14, &shape4, &shape8, &shape7};
    TToolBar* bars[] = {Form1->ToolBar1.get(), Form1->ToolBar2.get(), Form1->ToolBar3.get(),
                        Form1->ToolBar6.get(), Form1->ToolBar5.get(), Form1->ToolBar7.get()};
    for (int row = 0; row < 6; ++row) {
        int top = 16 + row * 32;
        *boxes[row] = std::make_unique<TCheckBox>(page, "Show this toolbar", 16, top + 3, 120, 20);
        (*boxes[row])->SetChecked(true);
        ToolbarPictures[row] = std::make_unique<TImage>(page, 150, top, 174, 26);
        auto picture = std::make_unique<TBitmapGraphic>(CaptureWindow(bars[row]->Handle(), 174, 26, RGB(255, 0, 255)));
        picture->Transparent = true;
        ToolbarPictures[row]->Transparent = true;
        ToolbarPictures[row]->SetPicture(std::move(picture));
    }
    SpeedButton22 = std::make_unique<TButton>(page, "Reset all Toolbars", 16, 16 + 6 * 32 + 8, 150, 24);
}

void TForm2::BuildInfoPage()
{
    InfoPage = Page(this);
    TPanel* page = InfoPage.get();
    FiguresBox = std::make_unique<TPanel>(page, 16, 16, 329, 76);
    FiguresBox->SetBevels(TBevelCut::Lowered, TBevelCut::Raised);
    LinesLabel = std::make_unique<TLabel>(FiguresBox.get(), "", 12, 10);
    CharactersLabel = std::make_unique<TLabel>(FiguresBox.get(), "", 12, 30);
    AverageLabel = std::make_unique<TLabel>(FiguresBox.get(), "", 12, 50);
    struct Row {
        std::unique_ptr<TLabel>* caption;
        std::unique_ptr<TLabel>* value;
        const char* text;
    };
    const Row rows[] = {{&MemoryCaption, &MemoryLabel, "Memory:"},
                        {&FreeMemoryCaption, &FreeMemoryLabel, "Free memory:"},
                        {&ResolutionCaption, &ResolutionLabel, "Resolution:"},
                        {&MonitorsCaption, &MonitorsLabel, "Monitors:"},
                        {&WheelCaption, &WheelLabel, "Mousewheel:"}};
    int top = 116;
    for (const Row& row : rows) {
        *row.caption = std::make_unique<TLabel>(page, row.text, 16, top);
        *row.value = std::make_unique<TLabel>(page, "", 120, top);
        top += 24;
    }
    MemoryLabel->SetHint("This shows how much RAM you have");
    FreeMemoryLabel->SetHint("This shows how much memory is unused");
}

void TForm2::BuildBackupPage()
{
    BackupPage = Page(this);
    TPanel* page = BackupPage.get();
    shape15 = std::make_unique<TCheckBox>(page, "Make backup", 16, 16, 200, 20);
    shape15->SetChecked(true);
    SpeedButton17 = std::make_unique<TButton>(page, "Location...", 16, 48, 90, 24);
    SpeedButton17->SetHint("Select the filename to back up");
    Edit3 = std::make_unique<TEdit>(page, 114, 50, 231, 21);
    Edit3->SetReadOnly(true);
    Edit3->SetColor(clBtnFace);
    Edit3->SetFontColor(clGrayText);
    Edit3->SetText(ProgramRootPath(kDefaultBackupPath));
    LocationDialog.Title = "Select location to backup...";
    LocationDialog.Filter = "All files|*.*";
    LocationDialog.InitialDir = "c:\\";
    LocationDialog.FileName = "Mibor8 - Backup";
    // Every backup copy overwrites the chosen file: an existing file is
    // only taken after the user confirms.
    LocationDialog.Options |= OFN_OVERWRITEPROMPT;
}

void TForm2::BuildAddTextPage()
{
    AddTextPage = Page(this);
    TPanel* page = AddTextPage.get();
    RadioGroup1 = std::make_unique<TRadioGroup>(page, "Panel size", 16, 12, 329, 72,
                                                std::vector<std::string>{"Off", "Small", "Medium", "Large"}, 2);
    RadioGroup1->SetItemIndex(2);
    shape12 = std::make_unique<TCheckBox>(page, "Show 'Insert' button", 16, 100, 300, 20);
    shape12->SetChecked(true);
    shape16 = std::make_unique<TCheckBox>(page, "Add a space after inserting a word", 16, 124, 300, 20);
    shape16->SetChecked(true);
    shape17 = std::make_unique<TCheckBox>(page, "Add a space before inserting a word", 16, 148, 300, 20);
}

void TForm2::BuildEmailPage()
{
    EmailPage = Page(this);
    TPanel* page = EmailPage.get();
    struct Row {
        std::unique_ptr<TLabel>* label;
        std::unique_ptr<TEdit>* field;
        const char* caption;
    };
    const Row rows[] = {{&Label20, &server, "SMTP Server:"},
                        {&Label21, &port, "Port:"},
                        {&Label22, &id, "Username:"},
                        {&Label23, &name, "Your name:"},
                        {&Label24, &email, "Your e-mail:"}};
    int top = 20;
    for (const Row& row : rows) {
        *row.label = std::make_unique<TLabel>(page, row.caption, 16, top + 3);
        *row.field = std::make_unique<TEdit>(page, 110, top, 235, 21);
        (*row.field)->SetMaxLength(255);
        top += 32;
    }
    server->SetText("mail.your-provider.example");
    port->SetText("25");
    port->SetHint("Default is 25.");

    Label25 = std::make_unique<TLabel>(page, "Security:", 16, top + 3);
    security = std::make_unique<TComboBox>(
        page, 110, top, 235, TComboBoxOptions{.style = TComboBoxStyle::DropDownList, .dropDownCount = 3});
    for (const char* choice : {"None", "STARTTLS", "SSL/TLS"})
        security->Add(choice);
    security->SetItemIndex(0);
    security->SetHint("STARTTLS: usually port 587. SSL/TLS: usually port 465.");
    top += 32;
    Label26 = std::make_unique<TLabel>(page, "Password:", 16, top + 3);
    password = std::make_unique<TEdit>(page, 110, top, 235, 21);
    password->SetMaxLength(255);
    password->SetPasswordChar('*');
}

void TForm2::BindEvents()
{
    OnCreate = Bind(this, &TForm2::FormCreate);
    OnShow = Bind(this, &TForm2::FormShow);
    OnActivate = Bind(this, &TForm2::FormActivate);
    OnClose = Bind(this, &TForm2::FormClose);
    OnMouseMove = Bind(this, &TForm2::FormMouseMove);
    int tag = 0;
    for (TPanelButton* button : PageButtons()) {
        button->Tag = tag++;
        button->OnMouseMove = Bind(this, &TForm2::Panel16MouseMove);
    }
    speedbutton2->OnMouseMove = Bind(this, &TForm2::speedbutton2MouseMove);
    Edit2->OnChange = Edit4->OnChange = Bind(this, &TForm2::Edit4Change);

    // The commands: each button runs its handler.
    Commands.Add("Panel16Click", Bind(this, &TForm2::Panel16Click),
                 {Panel16.get(), Panel14.get(), Panel15.get(), Panel17.get(), Panel19.get(), Panel18.get()});
    Commands.Add("SpeedButton2Click", Bind(this, &TForm2::SpeedButton2Click), {speedbutton2.get()});
    Commands.Add("SpeedButton4Click", Bind(this, &TForm2::SpeedButton4Click), {SpeedButton4.get()});
    Commands.Add("SpeedButton5Click", Bind(this, &TForm2::SpeedButton5Click), {SpeedButton5.get()});
    Commands.Add("SpeedButton22Click", Bind(this, &TForm2::SpeedButton22Click), {SpeedButton22.get()});
    Commands.Add("SpeedButton17Click", Bind(this, &TForm2::SpeedButton17Click), {SpeedButton17.get()});
}

std::array<TPanelButton*, 6> TForm2::PageButtons() const
{
    return {Panel16.get(), Panel14.get(), Panel15.get(), Panel17.get(), Panel19.get(), Panel18.get()};
}

std::array<TPanel*, 6> TForm2::Pages() const
{
    return {InfoPage.get(), GeneralPage.get(), ToolbarsPage.get(), BackupPage.get(), AddTextPage.get(),
            EmailPage.get()};
}

void TForm2::ShowPage(TPanel* page)
{
    // The pages keep their places in the tab order; only the one shown draws.
    for (TPanel* each : Pages())
        each->SetVisible(each == page);
}

TPanel* TForm2::ActivePage() const
{
    for (TPanel* page : Pages())
        if (page->Visible())
            return page;
    return nullptr;
}

void TForm2::FormCreate(TObject*)
{
    FillComputerFigures();
    SettingsLoad();
    Form1->ComboBox1->SetText(Form1->FontDialog1.Font.Name());
    Form1->Edit3->SetText(IntToStr(Form1->memo1->Font().Size()));
    ApplyPreferences();
    Form1->ColorDialog1.Color = Form1->memo1->Background();
    Form1->FontDialog1.Font = Form1->memo1->Font();
}

void TForm2::Edit2Change(TObject*) { Form1->ApplyDefaultMargins(); }
