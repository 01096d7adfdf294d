// TForm: a top-level window of the program, created once and then shown,
// hidden and shown modally.
#pragma once

#include "ui/Controls.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class TMainMenu;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };
enum class TBorderStyle { Sizeable, Dialog, Single, ToolWindow };
enum class TWindowState { Normal, Minimized, Maximized };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TForm : public TControl {
public:
    // The window class is named after the form's class ("TForm1").
    explicit TForm(const std::string& className);
    ~TForm() override;

    // Runs the create event (once, when the application makes the form).
    void DoCreate();

    void Show();
    void Hide();
    int ShowModal();
    // Asks the close query, runs the close event and hides the form (ends the
    // program for the main form). Also runs when the form is hidden.
    void Close();
    bool Modal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    void SetBorderStyle(TBorderStyle style, bool systemMenu = true, bool minimize = true, bool maximize = true);
    void SetStayOnTop(bool onTop);
    // In the units of a 96-DPI display, as every figure of a control.
    void SetClientSize(int width, int height);
    void CenterOnScreen();
    void SetMinSize(int width, int height) { minWidth_ = width; minHeight_ = height; }
    // Lays the form out for another DPI: every control's place and size and
    // every font scaled from the present DPI, the form put at `place` (in the
    // display's pixels; null: its size scaled about its top left corner).
    void ChangeDpi(int dpi, const RECT* place = nullptr);
    void SetIcon(HICON icon);

    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);

    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    // The control of this form that has, or last had, the keyboard focus.
    TControl* ActiveControl() const;
    void SetActiveControl(TControl* control);
    void NoteFocus(TControl* control)
    {
        if (control != this)
            activeControl_ = control;
    }

    // Tab and arrow keys move between the form's controls (dialog windows).
    bool DialogKeys = false;

    // The control's tool tip. The tip window is made when the form first
    // shows: a form that never shows needs none.
    void SetToolTip(TControl* control, const std::string& text);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnActivate;
    TNotifyEvent OnResize;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;

    // Menu shortcuts and dialog keys, before the focused control sees a key.
    bool PreTranslateMessage(MSG& message);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Files dropped from the shell, when the form accepts them.
    virtual void DropFiles(HDROP) {}

private:
    bool CloseQuery();
    TCloseAction DoClose();
    void EndModal();
    void AddToolTip(HWND control, const std::string& text);
    static void ScaleControl(TControl& control, int previous, int dpi);

    TMainMenu* menu_ = nullptr;
    TControl* activeControl_ = nullptr;
    HWND toolTip_ = nullptr;
    std::vector<std::pair<HWND, std::string>> pendingTips_; // until the form first shows
    bool modal_ = false;
    int modalResult_ = mrNone;
    int minWidth_ = 0, minHeight_ = 0;
    TWindowState pendingState_ = TWindowState::Normal;
};
