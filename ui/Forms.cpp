#include "ui/Forms.h"

#include "ui/Application.h"
#include "ui/Menus.h"
#include "ui/WideText.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

TForm::TForm(const std::string& className) : TControl(nullptr)
{
    dpi_ = ScreenPixelsPerInch();
    RegisterOwnClass(className.c_str(), CS_DBLCLKS, nullptr, LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
    CreateHandle(className.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, CW_USEDEFAULT,
                 CW_USEDEFAULT, 400, 300);
    SetFont(TFont("Tahoma", 8));
    // A system that scales each monitor on its own may have put the window on
    // one of another DPI.
    if (int dpi = WindowPixelsPerInch(Handle()); dpi != dpi_)
        ChangeDpi(dpi);
}

void TForm::ScaleControl(TControl& control, int previous, int dpi)
{
    RECT bounds = control.BoundsInPixels();
    auto scale = [&](LONG value) { return MulDiv(value, dpi, previous); };
    if (control.parent_)
        control.SetBoundsInPixels(scale(bounds.left), scale(bounds.top), scale(bounds.right - bounds.left),
                                  scale(bounds.bottom - bounds.top));
    control.DpiChanged(previous);
    for (TControl* child : std::vector<TControl*>(control.children_))
        ScaleControl(*child, previous, dpi);
}

void TForm::ChangeDpi(int dpi, const RECT* place)
{
    int previous = dpi_;
    RECT now = BoundsInPixels();
    RECT target = place ? *place
                        : RECT{now.left, now.top, now.left + MulDiv(now.right - now.left, dpi, previous),
                               now.top + MulDiv(now.bottom - now.top, dpi, previous)};
    if (dpi != previous) {
        dpi_ = dpi;
        SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
        ScaleControl(*this, previous, dpi);
        SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    }
    SetBoundsInPixels(target.left, target.top, target.right - target.left, target.bottom - target.top);
    // The aligned controls again, also where the size came out the same.
    Realign();
    FireEvent(OnResize, this);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

TForm::~TForm()
{
    Application->FormDestroyed(this);
    if (toolTip_)
        DestroyWindow(toolTip_);
}

void TForm::DoCreate() { FireEvent(OnCreate, this); }

void TForm::Show()
{
    for (const auto& tip : pendingTips_)
        AddToolTip(tip.first, tip.second);
    pendingTips_.clear();
    if (!Visible()) {
        FireEvent(OnShow, this);
        ShowWindow(Handle(), pendingState_ == TWindowState::Maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
    }
    SetForegroundWindow(Handle());
    if (activeControl_ && activeControl_->CanFocus())
        activeControl_->SetFocus();
}

void TForm::Hide() { ShowWindow(Handle(), SW_HIDE); }

static BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM data)
{
    auto* list = reinterpret_cast<std::vector<HWND>*>(data);
    if (IsWindowVisible(window) && IsWindowEnabled(window))
        list->push_back(window);
    return TRUE;
}

int TForm::ShowModal()
{
    HWND previous = GetActiveWindow();
    // Every other window of the program is disabled while this one is shown.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    for (HWND window : disabled)
        if (window != Handle())
            EnableWindow(window, FALSE);

    modal_ = true;
    modalResult_ = mrNone;
    Show();
    while (!Application->Terminated()) {
        if (modalResult_ != mrNone) {
            EndModal();
            if (modalResult_ != mrNone)
                break;
        }
        Application->HandleMessage();
    }
    int result = modalResult_;
    for (HWND window : disabled)
        if (window != Handle() && IsWindow(window))
            EnableWindow(window, TRUE);
    Hide();
    modal_ = false;
    if (previous && IsWindow(previous))
        SetActiveWindow(previous);
    return result;
}

void TForm::EndModal()
{
    if (!CloseQuery()) {
        modalResult_ = mrNone;
        return;
    }
    if (DoClose() == caNone)
        modalResult_ = mrNone;
}

// The answer of a close event, asked with `asked`. A close event that fails
// keeps the form open (`keepOpen`): what it was to save is not lost.
template <typename Answer, typename Event>
static Answer CloseAnswer(const Event& event, TForm* form, Answer asked, Answer keepOpen)
{
    Answer answer = keepOpen;
    Application->Guard([&] {
        Answer given = asked;
        Fire(event, form, given);
        answer = given;
    });
    return answer;
}

bool TForm::CloseQuery() { return CloseAnswer(OnCloseQuery, this, true, false); }

TCloseAction TForm::DoClose() { return CloseAnswer(OnClose, this, caHide, caNone); }

void TForm::Close()
{
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = DoClose();
    if (action == caNone)
        return;
    if (Application->MainForm() == this)
        Application->Terminate();
    else if (action == caMinimize)
        ShowWindow(Handle(), SW_MINIMIZE);
    else
        Hide();
}

void TForm::SetBorderStyle(TBorderStyle style, bool systemMenu, bool minimize, bool maximize)
{
    LONG windowStyle = GetWindowLongW(Handle(), GWL_STYLE) & ~(WS_OVERLAPPEDWINDOW | DS_MODALFRAME);
    LONG exStyle = GetWindowLongW(Handle(), GWL_EXSTYLE) & ~(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW);
    windowStyle |= WS_CAPTION;
    if (systemMenu)
        windowStyle |= WS_SYSMENU;
    switch (style) {
    case TBorderStyle::Sizeable:
        windowStyle |= WS_THICKFRAME | (minimize ? WS_MINIMIZEBOX : 0) | (maximize ? WS_MAXIMIZEBOX : 0);
        break;
    case TBorderStyle::Dialog:
        exStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TBorderStyle::Single:
        windowStyle |= (minimize ? WS_MINIMIZEBOX : 0) | (maximize ? WS_MAXIMIZEBOX : 0);
        break;
    case TBorderStyle::ToolWindow:
        windowStyle |= WS_THICKFRAME;
        exStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    SetWindowLongW(Handle(), GWL_STYLE, windowStyle);
    SetWindowLongW(Handle(), GWL_EXSTYLE, exStyle);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetStayOnTop(bool onTop)
{
    SetWindowPos(Handle(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetClientSize(int width, int height)
{
    RECT rect{0, 0, Scaled(width), Scaled(height)};
    // On a monitor of another DPI than the system's the frame has that DPI's
    // size too (known to Windows 10 from version 1607 on).
    using TAdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<TAdjustForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    DWORD style = static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongW(Handle(), GWL_EXSTYLE));
    if (adjustForDpi && Dpi() != ScreenPixelsPerInch())
        adjustForDpi(&rect, style, menu_ != nullptr, exStyle, static_cast<UINT>(Dpi()));
    else
        AdjustWindowRectEx(&rect, style, menu_ != nullptr, exStyle);
    SetWindowPos(Handle(), nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CenterOnScreen()
{
    RECT bounds = BoundsInPixels();
    int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetIcon(HICON icon)
{
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

TWindowState TForm::WindowState() const
{
    if (!Visible())
        return pendingState_;
    if (IsZoomed(Handle()))
        return TWindowState::Maximized;
    if (IsIconic(Handle()))
        return TWindowState::Minimized;
    return TWindowState::Normal;
}

void TForm::SetWindowState(TWindowState state)
{
    pendingState_ = state;
    if (Visible())
        ShowWindow(Handle(), state == TWindowState::Maximized ? SW_MAXIMIZE
                             : state == TWindowState::Minimized ? SW_MINIMIZE
                                                                : SW_RESTORE);
}

void TForm::SetMenu(TMainMenu* menu)
{
    if (menu_)
        menu_->SetWindow(nullptr);
    menu_ = menu;
    ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
    if (menu_)
        menu_->SetWindow(Handle());
}

TControl* TForm::ActiveControl() const
{
    // The focus may lie in an inner window of a control (the edit of a combo box).
    HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) {
        for (HWND window = focus; window && window != Handle(); window = GetParent(window)) {
            if (TControl* control = FromHandle(window)) {
                if (control->OwnerForm() == this)
                    return control;
            }
        }
    }
    return activeControl_;
}

void TForm::SetActiveControl(TControl* control)
{
    activeControl_ = control;
    if (control && control->CanFocus() && IsWindowVisible(Handle()))
        control->SetFocus();
}

void TForm::SetToolTip(TControl* control, const std::string& text)
{
    if (!toolTip_ && !Visible()) {
        for (auto& tip : pendingTips_) {
            if (tip.first == control->Handle()) {
                tip.second = text;
                return;
            }
        }
        pendingTips_.emplace_back(control->Handle(), text);
        return;
    }
    AddToolTip(control->Handle(), text);
}

void TForm::AddToolTip(HWND control, const std::string& text)
{
    if (!IsWindow(control))
        return;
    if (!toolTip_) {
        toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    std::wstring wide = ToWide(text);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = Handle();
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = &wide[0];
    SendMessageW(toolTip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (!text.empty())
        SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

bool TForm::PreTranslateMessage(MSG& message)
{
    if (!IsWindowEnabled(Handle()))
        return false;
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && menu_ &&
        menu_->HandleShortCut(static_cast<WORD>(message.wParam), ShiftStateFromKeys()))
        return true;
    if (DialogKeys && message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
        IsDialogMessageW(Handle(), &message))
        return true;
    return false;
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0 && menu_) {
            if (TMenuItem* item = TMenuItem::FromCommand(LOWORD(wParam))) {
                item->Click();
                return 0;
            }
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            LRESULT result = TControl::WndProc(message, wParam, lParam);
            if (activeControl_ && activeControl_->CanFocus())
                activeControl_->SetFocus();
            FireEvent(OnActivate, this);
            return result;
        }
        break;
    case WM_SETFOCUS:
        if (activeControl_ && activeControl_->CanFocus()) {
            activeControl_->SetFocus();
            return 0;
        }
        break;
    case WM_SIZE: {
        LRESULT result = TControl::WndProc(message, wParam, lParam);
        if (wParam != SIZE_MINIMIZED)
            FireEvent(OnResize, this);
        return result;
    }
    case WM_GETMINMAXINFO:
        if (minWidth_ || minHeight_) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = Scaled(minWidth_);
            info->ptMinTrackSize.y = Scaled(minHeight_);
            return 0;
        }
        break;
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(Handle(), &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, SolidBrush(Color()));
        return 1;
    }
    case WM_DPICHANGED:
        // The system suggests the place for the new DPI; the form takes it.
        ChangeDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DROPFILES:
        DropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CANCELMODE:
        // A dialog or message box is coming: a control of this window that
        // holds the mouse for a press lets it go.
        if (HWND capture = GetCapture(); capture && IsChild(Handle(), capture))
            ReleaseCapture();
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}
