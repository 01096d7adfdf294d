// TForm3: the About box. It shows the program's picture, the version, the
// number of this start and two links to the maker. Making it counts the start
// (StartCounter.h), whether or not it is ever shown.
#pragma once

#include "ui/ActionList.h"
#include "ui/Buttons.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

#include <memory>
#include <string>

class TForm3 : public TForm {
public:
    TForm3();

    std::unique_ptr<TImage> Image1; // the program's picture, 448 x 148
    std::unique_ptr<TLabel> Label2; // the start message
    std::unique_ptr<TLabel> Label4; // the version
    std::unique_ptr<TLabel> Label6, Label7; // "Website:" and the web address
    std::unique_ptr<TLabel> Label5, Label8; // "Email:" and the e-mail address
    std::unique_ptr<TLabel> Label1; // the maker's line
    // "Ok": Tab reaches it and Space presses it; Enter and Escape leave the box open.
    std::unique_ptr<TPanelButton> Panel1;
    std::unique_ptr<TLabel> Label3; // hidden: the counter as read at creation

    // The commands of the clickable controls: "Ok" and the two links.
    TActionList Commands;

    // The maker's addresses as the links show them.
    static const char* const WebAddress;
    static const char* const EmailAddress;

    // ---- events ----
    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    // Over the background, the picture or the maker's line: "Ok" turns black.
    void FormMouseMove(TObject* sender, TShiftState shift, int x, int y);
    // Over "Ok": it turns white.
    void Panel1MouseMove(TObject* sender, TShiftState shift, int x, int y);
    void SpeedButton1Click(TObject* sender); // "Ok"
    void Label7Click(TObject* sender);       // the web address
    void Label8Click(TObject* sender);       // the e-mail address

private:
    std::unique_ptr<TLabel> WhiteLabel(const std::string& caption, int left, int top);
    std::unique_ptr<TLabel> LinkLabel(const std::string& caption, int left, int top);
    void BindEvents();
    // The texts keep their places; where the system's face is wider than the
    // box was laid out for, they take a smaller size until none runs into
    // the next.
    void FitTexts();
};

extern TForm3* Form3;
