#include "ui/Application.h"

#include "ui/Dialogs.h"
#include "ui/Forms.h"
#include "ui/SysUtils.h"

#include <commctrl.h>

static TApplication theApplication;
TApplication* Application = &theApplication;

std::string StandardErrorText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_DATE_CLASSES | ICC_PROGRESS_CLASS |
                     ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

HINSTANCE TApplication::Instance() const { return GetModuleHandleW(nullptr); }

void TApplication::Register(TForm* form)
{
    if (!mainForm_)
        mainForm_ = form;
    Guard([&] { form->DoCreate(); });
}

void TApplication::FormDestroyed(TForm* form)
{
    if (mainForm_ == form)
        mainForm_ = nullptr;
}

void TApplication::Restart()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    terminated_ = false;
}

void TApplication::Run()
{
    if (mainForm_)
        mainForm_->Show();
    while (!terminated_)
        HandleMessage();
}

void TApplication::Terminate()
{
    if (!terminated_) {
        terminated_ = true;
        PostQuitMessage(0);
    }
}

bool TApplication::ProcessMessage(MSG& message)
{
    if (message.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    TForm* form = root ? dynamic_cast<TForm*>(TControl::FromHandle(root)) : nullptr;
    // A key a form takes (a menu's shortcut) is an event of its own, also
    // when this loop runs inside a command that waits.
    bool taken = false;
    if (form) {
        std::string failure;
        if (Failed(true, [&] { taken = form->PreTranslateMessage(message); }, failure))
            ShowError(failure);
    }
    if (taken)
        return true;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

void TApplication::ProcessMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ProcessMessage(message);
        if (terminated_)
            break;
    }
}

void TApplication::HandleMessage()
{
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        ProcessMessage(message);
    else if (!terminated_)
        WaitMessage();
}

HWND TApplication::ActiveWindowHandle() const
{
    HWND active = GetActiveWindow();
    if (active)
        return active;
    return mainForm_ && IsWindowVisible(mainForm_->Handle()) ? mainForm_->Handle() : nullptr;
}

void TApplication::HandleException(const std::exception& error) { ShowError(error.what()); }

namespace {

const UINT WM_SHOW_REPORT = WM_APP + 1;

} // namespace

void TApplication::ReportLater(const std::string& message)
{
    for (const std::string& waiting : reports_)
        if (waiting == message)
            return;
    std::string ignored;
    auto makeWindow = [this] { reportWindow_ = std::make_unique<TMessageWindow>(
                                   [this](UINT windowMessage, WPARAM, LPARAM) { return ShowReport(windowMessage); }); };
    if (!reportWindow_ && StepFailed(makeWindow, ignored)) {
        // Without a window to post to, the box shows now.
        ShowError(message);
        return;
    }
    reports_.push_back(message);
    PostMessageW(reportWindow_->Handle(), WM_SHOW_REPORT, 0, 0);
}

bool TApplication::ShowReport(UINT message)
{
    if (message != WM_SHOW_REPORT)
        return false;
    if (!reports_.empty()) {
        // Taken from the list first: the box's own loop may show the next.
        const std::string text = reports_.front();
        reports_.erase(reports_.begin());
        ShowError(text);
    }
    return true;
}

void TApplication::ShowError(const std::string& message)
{
    MessageBox(StandardErrorText(message), title_, MB_OK | MB_ICONERROR);
}

void TApplication::ShowMessage(const std::string& text) { MessageBox(text, title_, MB_OK); }

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags)
{
    return Dialogs().MessageBox(ActiveWindowHandle(), text, caption, flags);
}
