// TForm8: the window that sends the document by e-mail. Its member functions
// are defined in two files:
//   SendForm.cpp     the window as built, hover colours, attachments, context menu
//   SendMailRun.cpp  Send, the events of `smtp` and the two timers
#pragma once

#include "mainform/FocusedField.h"
#include "smtp/SmtpClient.h"
#include "ui/ActionList.h"
#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

#include <memory>
#include <string>

class TForm8 : public TForm {
public:
    TForm8();
    ~TForm8() override;

    std::unique_ptr<TLabel> Label2, Label3, Label4, Label5, Label6, Label7, Label8;
    // Sunken frames around the first four fields.
    std::unique_ptr<TPanel> Panel2, Panel3, Panel4, Panel5;
    std::unique_ptr<TEdit> subject, sendto, cc, bcc, replyto;
    std::unique_ptr<TComboBox> ComboBox1;
    std::unique_ptr<TListBox> attach;
    // Button panels: "Add...", "Remove", "Send", "E-mail preferences...", "Close",
    // in the order Tab goes through them after the fields.
    std::unique_ptr<TPanelButton> att, Panel10, Panel1, Panel9, Panel12;
    std::unique_ptr<TLabel> Label9, Label1; // "Status:" and the status text
    std::unique_ptr<TProgressBar> Gauge1;
    std::unique_ptr<TSmtpClient> smtp;
    TOpenDialog OpenDialog1;
    std::unique_ptr<TTimer> Timer1, Timer2; // progress, back to "Idle"
    TPopupMenu PopupMenu1; // context menu of the five fields
    TMenuItem *Cut1, *Copy1, *Copyall1, *Paste1, *N10XPaste1;
    // The commands of the button panels and of the context menu.
    TActionList Commands;

    // While set, the Preferences window opens on its E-mail page.
    bool EmailPageFlag = false;
    // Set while Send runs the exchange with the server.
    bool Sending = false;
    // The last progress value, 0 to 100.
    int Progress = 0;

    // The fixed name of the file through which the rich text is attached.
    static const char* const RichTextFile;
    // Where that file is written: "c:\RichText.rtf", or a file of the same name
    // in the user's temporary folder where the root of C: cannot be written.
    std::string RichTextPath = "c:\\RichText.rtf";

    // ---- events ----
    void Panel1Click(TObject* sender); // Send
    void attClick(TObject* sender);    // Add...
    void Panel10Click(TObject* sender); // Remove
    void Panel9Click(TObject* sender); // E-mail preferences...
    void Panel12Click(TObject* sender); // Close
    // Delete in the attachment list removes the selected file, as Remove does.
    void attachKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void FormClose(TObject* sender, TCloseAction& action);
    void Timer1Timer(TObject* sender);
    void Timer2Timer(TObject* sender);
    // Hover colours: over one button panel, and over the window's quiet parts.
    void ButtonMouseMove(TPanelButton* panel);
    void BackgroundMouseMove();
    // Context menu of the five fields.
    void Cut1Click(TObject* sender);
    void Copy1Click(TObject* sender);
    void Copyall1Click(TObject* sender);
    void Paste1Click(TObject* sender);
    void N10XPaste1Click(TObject* sender);

    void smtpHostResolved(TObject* sender);
    void smtpConnect(TObject* sender);
    void smtpSendStart(TObject* sender);
    void smtpSuccess(TObject* sender);
    void smtpFailure(TObject* sender);
    void smtpConnectionFailed(TObject* sender);
    void smtpPacketSent(TObject* sender);
    void smtpInvalidHost(bool& handled);
    void smtpAttachmentNotFound(const std::string& fileName);
    void smtpAuthenticationFailed(bool& handled);
    void smtpSecuring(TObject* sender);
    void smtpSecured(TObject* sender);
    void smtpLoggingIn(TObject* sender);

    void SetStatus(const std::string& text);
    std::string Status() const { return Label1->Text(); }

private:
    void BuildFields();
    void BuildButtons();
    void BuildStatusLine();
    void BuildMenu();
    void BindEvents();
    // The one of the five fields that is the active control; no field when none is.
    TTextField ActiveField() const;

    // Send's steps.
    bool Validate();
    void FillMessage();
    void AttachRichText();
    void RunExchange();
    void EndExchange();
    // Says QUIT and closes, ignoring failures, waiting at most `TimeOut` for the answer.
    void DisconnectQuietly();

    // Set for the whole of Send, message boxes included.
    bool inSend_ = false;
    // When the progress bar was last brought up to date.
    DWORD progressShown_ = 0;
};

extern TForm8* Form8;
