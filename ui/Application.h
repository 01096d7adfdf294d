// The application object: title, message loop, the standard error box.
#pragma once

#include "ui/Classes.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

class TForm;

class TApplication {
public:
    // Loads the common controls; call once before the first form is made.
    void Initialize();
    HINSTANCE Instance() const;

    // Shown as the caption of the program's message boxes.
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    // Makes a form and runs its create event; the first form made is the main form.
    template <typename Form>
    void CreateForm(Form*& reference)
    {
        reference = new Form();
        Register(reference);
    }
    TForm* MainForm() const { return mainForm_; }
    // Called by a form as it is destroyed.
    void FormDestroyed(TForm* form);
    // Lets a process that has ended its main window make a new one (tests).
    void Restart();

    // Shows the main form and runs the message loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Handles every message waiting in the queue, then returns.
    void ProcessMessages();
    // Waits for one message and handles it.
    void HandleMessage();

    // The standard error box: error icon, one OK button, the title as caption,
    // the failure's text with a full stop added where it needs one.
    void HandleException(const std::exception& error);
    // A simple box with one OK button and no icon, captioned with the title.
    void ShowMessage(const std::string& text);
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    // Runs `action`, reporting any failure in the standard error box. The box
    // is shown after the handler has been left: a message loop must not run
    // while an exception is being handled.
    template <typename Action>
    void Guard(Action&& action)
    {
        std::string failure;
        bool failed = false;
        try {
            action();
        } catch (const std::exception& error) {
            failure = error.what();
            failed = true;
        } catch (...) {
            failure = "Unexpected failure";
            failed = true;
        }
        if (failed)
            ShowError(failure);
    }
    // The standard error box for a failure's text.
    void ShowError(const std::string& message);

    // The window that owns message boxes: the active window of the program.
    HWND ActiveWindowHandle() const;

private:
    void Register(TForm* form);
    bool ProcessMessage(MSG& message);

    std::string title_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

extern TApplication* Application;

// The text of the standard error box: a full stop is appended unless the text
// is empty or already ends in a character that sorts at or before ".".
std::string StandardErrorText(const std::string& message);
