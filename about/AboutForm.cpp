#include "about/AboutForm.h"

#include "ProgramVersion.h"
#include "about/StartCounter.h"
#include "preferences/PreferencesForm.h"
#include "ui/Registry.h"
#include "ui/Shell.h"
#include "ui/SysUtils.h"

TForm3* Form3 = nullptr;

const char* const TForm3::WebAddress = "www.mibor8.example";
const char* const TForm3::EmailAddress = "info@mibor8.example";

namespace {

constexpr TColor kLinkColor = RGBColor(170, 170, 255);

// `Counter` in the settings key of the current user.
class TRegistryCounter : public TCounterStore {
public:
    TRegistryCounter() { store_.OpenKey(kSettingsKey, true); }
    std::string Read() override { return store_.ReadString("Counter"); }
    void Write(const std::string& text) override { store_.WriteString("Counter", text); }

private:
    TRegistry store_;
};

} // namespace

TForm3::TForm3() : TForm("TForm3")
{
    SetText("About...");
    SetBorderStyle(TBorderStyle::Single, false, false, false);
    SetClientSize(479, 200);
    SetStayOnTop(true);
    CenterOnScreen();
    SetColor(clBlack);
    SetFontColor(clWhite);
    DialogKeys = true;

    Image1 = std::make_unique<TImage>(this, 16, 8, 448, 148);
    TOwnedBitmap picture = LoadBitmapResource(L"ABOUTPICTURE");
    if (!picture)
        throw EOSError("The About picture is missing");
    Image1->SetPicture(std::make_unique<TBitmapGraphic>(std::move(picture), TGraphicOptions{.scalesWithDisplay = true}));
    Label2 = WhiteLabel("", 16, 161);
    Label4 = WhiteLabel("Version " MIBOR8_VERSION_TEXT, 16, 180);
    Label6 = WhiteLabel("Website:", 184, 161);
    Label7 = LinkLabel(WebAddress, 232, 161);
    Label5 = WhiteLabel("Email:", 184, 180);
    Label8 = LinkLabel(EmailAddress, 216, 180);
    Label1 = WhiteLabel("Made by Orvane", 360, 180);
    Panel1 = std::make_unique<TPanelButton>(this, "Ok", 384, 160, 81, 17);
    Panel1->SetBevels(TBevelCut::None, TBevelCut::Lowered);
    Panel1->SetColors(clBlack, clWhite);
    Label3 = WhiteLabel("", 16, 161);
    Label3->Hide();
    BindEvents();
}

std::unique_ptr<TLabel> TForm3::WhiteLabel(const std::string& caption, int left, int top)
{
    auto label = std::make_unique<TLabel>(this, caption, left, top);
    label->SetFontColor(clWhite);
    return label;
}

std::unique_ptr<TLabel> TForm3::LinkLabel(const std::string& caption, int left, int top)
{
    auto label = std::make_unique<TLabel>(this, caption, left, top);
    label->SetFont(TFont(Font().Name(), Font().Size(), kLinkColor, fsUnderline));
    return label;
}

void TForm3::BindEvents()
{
    OnCreate = Bind(this, &TForm3::FormCreate);
    OnClose = Bind(this, &TForm3::FormClose);
    OnMouseMove = Image1->OnMouseMove = Label1->OnMouseMove = Bind(this, &TForm3::FormMouseMove);
    Panel1->OnMouseMove = Bind(this, &TForm3::Panel1MouseMove);
    Commands.Add("SpeedButton1Click", Bind(this, &TForm3::SpeedButton1Click), {Panel1.get()});
    Commands.Add("Label7Click", Bind(this, &TForm3::Label7Click), {Label7.get()});
    Commands.Add("Label8Click", Bind(this, &TForm3::Label8Click), {Label8.get()});
}

void TForm3::FormCreate(TObject*)
{
    TRegistryCounter counter;
    TStartCount count = CountStart(counter);
    Label2->SetText(count.message);
    Label3->SetText(count.held);
    FitTexts();
}

void TForm3::FitTexts()
{
    // Each text must end before the next one to its right begins.
    const std::pair<TControl*, TControl*> neighbours[] = {
        {Label2.get(), Label6.get()}, {Label6.get(), Label7.get()}, {Label7.get(), Panel1.get()},
        {Label5.get(), Label8.get()}, {Label8.get(), Label1.get()}, {Label1.get(), this}};
    auto fits = [&] {
        for (const auto& [left, right] : neighbours) {
            int limit = right == this ? ClientWidth() : right->Left();
            if (left->Left() + left->Width() >= limit)
                return false;
        }
        return true;
    };
    for (int size = Font().Size(); size > 6 && !fits(); --size) {
        for (TLabel* label : {Label2.get(), Label4.get(), Label6.get(), Label7.get(), Label5.get(), Label8.get(),
                              Label1.get()}) {
            TFont smaller = label->Font();
            smaller.SetSize(size - 1);
            label->SetFont(smaller);
        }
    }
}

void TForm3::FormClose(TObject*, TCloseAction&) { Panel1->SetColors(clBlack, clWhite); }

void TForm3::FormMouseMove(TObject*, TShiftState, int, int) { Panel1->SetColors(clBlack, clWhite); }

void TForm3::Panel1MouseMove(TObject*, TShiftState, int, int) { Panel1->SetColors(clWhite, clBlack); }

void TForm3::SpeedButton1Click(TObject*) { Close(); }

void TForm3::Label7Click(TObject*) { ShellOpen(std::string("http://") + WebAddress + "/"); }

void TForm3::Label8Click(TObject*) { ShellOpen(std::string("mailto:") + EmailAddress); }
