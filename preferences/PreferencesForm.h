// TForm2: the Preferences window. Its controls are the program's only copy of
// the preference values while it runs; the settings store keeps them between
// runs (SettingsStore.cpp).
#pragma once

#include "ui/ActionList.h"
#include "ui/Buttons.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Registry.h"
#include "ui/StdCtrls.h"

#include <array>
#include <memory>
#include <string>

class TForm2 : public TForm {
public:
    TForm2();

    // ---- the page buttons of the right column ----
    // Tab goes from each page button into its page (only the page in front
    // has controls that take the focus) and on to the next, and ends at "Ok".
    std::unique_ptr<TPanelButton> Panel16, Panel14, Panel15, Panel17, Panel19, Panel18; // Info ... E-mail
    std::unique_ptr<TPanelButton> speedbutton2;                                         // "Ok"

    // ---- the six pages, stacked ----
    std::unique_ptr<TPanel> InfoPage, GeneralPage, ToolbarsPage, BackupPage, AddTextPage, EmailPage;

    // General
    std::unique_ptr<TButton> SpeedButton4, SpeedButton5; // "Default font...", "Background..."
    std::unique_ptr<TEdit> Edit1;                             // sample of the default font
    std::unique_ptr<TCheckBox> shape11, shape3;               // menu icons, read-only
    std::unique_ptr<TLabel> Label10, Label11;
    std::unique_ptr<TEdit> Edit2, Edit4; // left and right margin

    // Toolbars: a check box and a picture per toolbar
    std::unique_ptr<TCheckBox> shape10, shape1, shape14, shape4, shape8, shape7;
    std::array<std::unique_ptr<TImage>, 6> ToolbarPictures;
    std::unique_ptr<TButton> SpeedButton22; // "Reset all Toolbars"

    // Info
    std::unique_ptr<TPanel> FiguresBox;
    std::unique_ptr<TLabel> LinesLabel, CharactersLabel, AverageLabel;
    std::unique_ptr<TLabel> MemoryCaption, FreeMemoryCaption, ResolutionCaption, MonitorsCaption, WheelCaption;
    std::unique_ptr<TLabel> MemoryLabel, FreeMemoryLabel, ResolutionLabel, MonitorsLabel, WheelLabel;

    // Backup and save
    std::unique_ptr<TCheckBox> shape15;          // "Make backup"
    std::unique_ptr<TButton> SpeedButton17; // "Location..."
    std::unique_ptr<TEdit> Edit3;                // the backup location
    TSaveDialog LocationDialog;

    // Add text panel
    std::unique_ptr<TRadioGroup> RadioGroup1;
    std::unique_ptr<TCheckBox> shape12, shape16, shape17;

    // E-mail
    std::unique_ptr<TLabel> Label20, Label21, Label22, Label23, Label24, Label25, Label26;
    std::unique_ptr<TEdit> server, port, id, name, email;
    // "Security": "None", "STARTTLS", "SSL/TLS"; "Password", masked.
    std::unique_ptr<TComboBox> security;
    std::unique_ptr<TEdit> password;

    // The commands of the window's buttons.
    TActionList Commands;

    // ---- settings store ----
    // Reads the store into the windows; stops at the first absent or malformed
    // number or colour and then writes the store from the windows.
    void SettingsLoad();
    // Writes the preference values.
    void SettingsSave();
    // Writes the window state (size, place, word list, toolbar places).
    void WindowStateSave();
    // Pushes the choices onto the main window and closes this window.
    void ApplyPreferences();

    // Brings one page to the front.
    void ShowPage(TPanel* page);
    // The page in front.
    TPanel* ActivePage() const;
    // The six page buttons in the order of their pages, and the pages.
    std::array<TPanelButton*, 6> PageButtons() const;
    std::array<TPanel*, 6> Pages() const;

    // ---- events ----
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormActivate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    // Mouse over the window's own background: all seven buttons turn white.
    void FormMouseMove(TObject* sender, TShiftState shift, int x, int y);
    // The page buttons share these; the tag is the page's index.
    void Panel16Click(TObject* sender);
    void Panel16MouseMove(TObject* sender, TShiftState shift, int x, int y);
    // "Ok".
    void SpeedButton2Click(TObject* sender);
    void speedbutton2MouseMove(TObject* sender, TShiftState shift, int x, int y);
    // "Default font..." and "Background...".
    void SpeedButton4Click(TObject* sender);
    void SpeedButton5Click(TObject* sender);
    // Both margin fields: a text that is not a whole number becomes "0".
    void Edit4Change(TObject* sender);
    // Sets the default margins on the whole text (plain mode only).
    void Edit2Change(TObject* sender);
    // "Reset all Toolbars".
    void SpeedButton22Click(TObject* sender);
    // "Location...".
    void SpeedButton17Click(TObject* sender);

private:
    void BuildPageButtons();
    void BuildGeneralPage();
    void BuildToolbarsPage();
    void BuildInfoPage();
    void BuildBackupPage();
    void BuildAddTextPage();
    void BuildEmailPage();
    void BindEvents();
    // The Info page: the computer figures once, the document figures on
    // every activation.
    void FillComputerFigures();
    void RefreshDocumentFigures();
    // The steps that apply preferences and the close event share.
    void PushChoices(bool closing);
};

extern TForm2* Form2;

// Where the settings live: HKEY_CURRENT_USER\<kSettingsKey>.
extern const char* const kSettingsKey;
