// The application object: title, message loop, the standard error box.
#pragma once

#include "ui/Classes.h"
#include "ui/MessageWindow.h"
#include "ui/ScopedValue.h"
#include "ui/SysUtils.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
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

    // The edge of a command, a timer or an event: runs `action` and shows its
    // failure in the standard error box once `action` has been left (no
    // message loop runs while an exception is being handled). Reached from
    // inside another edge, as when a handler clicks a button, it only runs
    // `action`: the failure goes on to the outer edge and is shown once.
    template <typename Action>
    void Guard(Action&& action)
    {
        if (insideEdge_) {
            action();
            return;
        }
        std::string failure;
        if (Failed(true, action, failure))
            ShowError(failure);
    }

    // A callback the system makes: a window procedure, a dialog hook. No
    // failure passes it. A failure that no edge inside took is shown once the
    // message loop runs again, never from inside the callback: a box shown
    // from a paint would be painted over by its own paint. Edges inside the
    // callback are edges of their own. False when `action` failed.
    template <typename Action>
    bool Callback(Action&& action)
    {
        std::string failure;
        if (!Failed(false, action, failure))
            return true;
        ReportLater(failure);
        return false;
    }

    // Shows a failure's text in the standard error box from the message loop.
    void ReportLater(const std::string& message);
    // The standard error box for a failure's text.
    void ShowError(const std::string& message);

    // The window that owns message boxes: the active window of the program.
    HWND ActiveWindowHandle() const;

private:
    // Runs `action` inside an edge or outside every edge; true, with the
    // failure's text, when it failed.
    template <typename Action>
    bool Failed(bool insideEdge, Action&& action, std::string& failure)
    {
        TScopedValue<bool> edge(insideEdge_, insideEdge);
        return StepFailed(action, failure);
    }
    void Register(TForm* form);
    bool ShowReport(UINT message);
    bool ProcessMessage(MSG& message);

    std::string title_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool insideEdge_ = false;
    // Failures waiting to be shown by the message loop, each text once.
    std::vector<std::string> reports_;
    std::unique_ptr<TMessageWindow> reportWindow_;
};

extern TApplication* Application;

// Fires an event of a control or a form as a window message brings it: the
// event's edge (see TApplication::Guard).
template <typename Event, typename... Args>
void FireEvent(const Event& event, Args&&... args)
{
    if (event)
        Application->Guard([&] { event(std::forward<Args>(args)...); });
}

// The text of the standard error box: a full stop is appended unless the text
// is empty or already ends in a character that sorts at or before ".".
std::string StandardErrorText(const std::string& message);
