#include "ui/Controls.h"

#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

// Every window of ours maps to its control. The map lives in the process:
// window properties would cost a round trip to the window server on every
// message under Wine.
static std::unordered_map<HWND, TControl*>& Controls()
{
    static std::unordered_map<HWND, TControl*> controls;
    return controls;
}

static std::set<std::string>& OwnClasses()
{
    static std::set<std::string> names;
    return names;
}

// Kept in the form the tool tips take them.
static std::map<UINT, std::wstring>& CommandHints()
{
    static std::map<UINT, std::wstring> hints;
    return hints;
}

UINT NewCommandId()
{
    static UINT next = 1000;
    return next++;
}

const std::wstring* CommandHint(UINT id)
{
    auto found = CommandHints().find(id);
    return found == CommandHints().end() ? nullptr : &found->second;
}

void SetCommandHint(UINT id, const std::string& hint) { CommandHints()[id] = ToWide(hint); }

TShiftState ShiftStateFromKeys()
{
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    return shift;
}

static TShiftState ShiftStateFromMouse(WPARAM keys)
{
    TShiftState shift = 0;
    if (keys & MK_SHIFT)
        shift |= ssShift;
    if (keys & MK_CONTROL)
        shift |= ssCtrl;
    if (keys & MK_LBUTTON)
        shift |= ssLeft;
    if (keys & MK_RBUTTON)
        shift |= ssRight;
    if (keys & MK_MBUTTON)
        shift |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    return shift;
}

std::string WindowText(HWND window)
{
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(window, &text[0], length + 1);
    return ToUtf8(text.data(), static_cast<size_t>(std::max(0, length)));
}

TControl::TControl(TControl* parent) : parent_(parent)
{
    if (parent_) {
        parent_->children_.push_back(this);
        font_ = parent_->font_;
        font_.SetColor(parent_->font_.Color());
    }
}

TControl::~TControl()
{
    if (handle_) {
        Controls().erase(handle_);
        if (systemProc_)
            SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc_));
        DestroyWindow(handle_);
    }
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

TControl* TControl::FromHandle(HWND window)
{
    if (!window)
        return nullptr;
    auto found = Controls().find(window);
    return found == Controls().end() ? nullptr : found->second;
}

TForm* TControl::OwnerForm() const
{
    const TControl* control = this;
    while (control->parent_)
        control = control->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(control));
}

void TControl::RegisterOwnClass(const char* className, UINT classStyle, HBRUSH background, HICON icon)
{
    if (OwnClasses().count(className))
        return;
    const std::wstring name = ToWide(className);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.lpszClassName = name.c_str();
    RegisterClassExW(&wc);
    OwnClasses().insert(className);
}

void TControl::CreateHandle(const char* className, DWORD style, DWORD exStyle, int left, int top, int width,
                            int height, const std::string& text)
{
    bool own = OwnClasses().count(className) != 0;
    HWND parentWindow = parent_ ? parent_->ContainerHandle() : nullptr;
    if (parent_)
        style |= WS_CHILD | WS_CLIPSIBLINGS;
    // No text at all rather than an empty one: that is a round trip to the
    // window server less.
    const std::wstring wideText = ToWide(text);
    if (left != CW_USEDEFAULT) {
        left = Scaled(left);
        top = Scaled(top);
    }
    if (width != CW_USEDEFAULT) {
        width = Scaled(width);
        height = Scaled(height);
    }
    font_.SetPixelsPerInch(Dpi());
    HWND window = CreateWindowExW(exStyle, ToWide(className).c_str(), text.empty() ? nullptr : wideText.c_str(), style,
                                  left, top, width, height, parentWindow, nullptr, GetModuleHandleW(nullptr),
                                  own ? this : nullptr);
    if (!window)
        throw EOSError(std::string("Cannot create a window of class ") + className);
    if (!own) {
        handle_ = window;
        Controls()[window] = this;
        // The system's procedure goes under StaticWndProc by SetWindowLongPtrW,
        // not SetWindowSubclass. Measured on Wine: the subclass routine made
        // 1,000 caret moves in the editor 37 % slower (7.7 s against 5.6 s),
        // and it keeps a window of an ANSI class (riched32's rich edit) ANSI,
        // so typed characters reached it in the ANSI code page, "?" where that
        // has none. A Unicode procedure put on top makes it a Unicode window.
        systemProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWndProc)));
    }
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
}

HWND TControl::ContainerHandle() const { return handle_; }

LRESULT CALLBACK TControl::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TControl* self = FromHandle(window);
    if (!self && message == WM_NCCREATE) {
        self = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) {
            self->handle_ = window;
            Controls()[window] = self;
        }
    }
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->Dispatch(message, wParam, lParam);
}

LRESULT TControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY) {
        HWND window = handle_;
        LRESULT result = DefaultProc(message, wParam, lParam);
        Controls().erase(window);
        handle_ = nullptr;
        systemProc_ = nullptr;
        return result;
    }
    LRESULT result = 0;
    if (!Application->Callback([&] { result = WndProc(message, wParam, lParam); })) {
        // A paint that failed is not asked for again and again.
        if (message == WM_PAINT)
            ValidateRect(handle_, nullptr);
        result = 0;
    }
    return result;
}

LRESULT TControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (systemProc_)
        return CallWindowProcW(systemProc_, handle_, message, wParam, lParam);
    return DefWindowProcW(handle_, message, wParam, lParam);
}

bool TControl::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_COMMAND:
        if (lParam) {
            if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam)))
                return child->HandleCommand(wParam, result);
        }
        return false;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (TControl* child = FromHandle(header->hwndFrom))
            return child->HandleNotify(header, result);
        return HandleToolTipNotify(header, result);
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
            HBRUSH brush = child->HandleCtlColor(reinterpret_cast<HDC>(wParam));
            if (brush) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        }
        return false;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam) {
            if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam)))
                return child->HandleCommand(wParam, result);
        }
        return false;
    default:
        return false;
    }
}

bool TControl::HandleToolTipNotify(NMHDR* header, LRESULT& result)
{
    if (header->code != TTN_GETDISPINFOW)
        return false;
    // Tool tips of toolbar buttons ask for their text by command number.
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    if (info->uFlags & TTF_IDISHWND)
        return false;
    if (const std::wstring* hint = CommandHint(static_cast<UINT>(header->idFrom))) {
        info->lpszText = const_cast<wchar_t*>(hint->c_str());
        info->hinst = nullptr;
        result = 0;
        return true;
    }
    return false;
}

bool TControl::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    int x = Unscaled(GET_X_LPARAM(lParam)), y = Unscaled(GET_Y_LPARAM(lParam));
    TShiftState shift = ShiftStateFromMouse(wParam);
    bool own = !systemProc_ || ownClicks_;
    switch (message) {
    case WM_MOUSEMOVE:
        FireEvent(OnMouseMove, this, shift, x, y);
        return false;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        TMouseButton button = message == WM_LBUTTONDOWN ? mbLeft : message == WM_RBUTTONDOWN ? mbRight : mbMiddle;
        if (own && button == mbLeft) {
            pressed_ = true;
            SetCapture(handle_);
        }
        FireEvent(OnMouseDown, this, button, shift, x, y);
        return false;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        TMouseButton button = message == WM_LBUTTONUP ? mbLeft : message == WM_RBUTTONUP ? mbRight : mbMiddle;
        bool clicked = false;
        if (own && button == mbLeft && pressed_) {
            pressed_ = false;
            ReleaseCapture();
            RECT client;
            GetClientRect(handle_, &client);
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            clicked = PtInRect(&client, point) != 0;
        }
        FireEvent(OnMouseUp, this, button, shift, x, y);
        if (clicked)
            Click();
        return false;
    }
    case WM_LBUTTONDBLCLK:
        if (own) {
            pressed_ = true;
            SetCapture(handle_);
            FireEvent(OnDblClick, this);
        }
        return false;
    default:
        return false;
    }
}

LRESULT TControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (ReflectToChild(message, wParam, lParam, result))
            return result;
        break;
    case WM_SETFOCUS:
        if (TForm* form = OwnerForm())
            form->NoteFocus(this);
        break;
    case WM_CONTEXTMENU:
        if (PopupMenu) {
            // The menu acts on the control it was opened on: a right-click
            // focuses it first, as the system's own edit menu does.
            HWND focus = GetFocus();
            if (focus != handle_ && !IsChild(handle_, focus) && CanFocus())
                SetFocus();
            int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
            if (x == -1 && y == -1) {
                RECT rect;
                GetWindowRect(handle_, &rect);
                x = rect.left + 4;
                y = rect.top + 4;
            }
            PopupMenu->Popup(x, y);
            return 0;
        }
        break;
    case WM_CHAR:
        if (OnKeyPress) {
            auto key = static_cast<wchar_t>(wParam);
            OnKeyPress(this, key);
            if (key == 0)
                return 0;
            wParam = key;
        }
        break;
    case WM_KEYDOWN:
        if (OnKeyDown) {
            WORD key = static_cast<WORD>(wParam);
            OnKeyDown(this, key, ShiftStateFromKeys());
            if (key == 0)
                return 0;
            wParam = key;
        }
        break;
    case WM_SIZE:
        result = DefaultProc(message, wParam, lParam);
        Realign();
        return result;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK: {
        bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_LBUTTONDBLCLK;
        if (systemProc_ && left && ownClicks_) {
            HandleMouse(message, wParam, lParam);
            return 0;
        }
        if (systemProc_ && message != WM_LBUTTONDBLCLK) {
            // A system control handles a press or release itself first (it
            // may take the focus or the mouse); the events see what it did.
            result = DefaultProc(message, wParam, lParam);
            HandleMouse(message, wParam, lParam);
            return result;
        }
        HandleMouse(message, wParam, lParam);
        break;
    }
    case WM_MOUSEMOVE:
        HandleMouse(message, wParam, lParam);
        break;
    case WM_CAPTURECHANGED:
        // Our own release clears the pressed state first.
        if (pressed_ && reinterpret_cast<HWND>(lParam) != handle_) {
            pressed_ = false;
            FireEvent(OnCaptureLost, this);
        }
        break;
    case WM_GETOBJECT:
        if (LRESULT answer = AnswerGetObject(*this, wParam, lParam))
            return answer;
        break;
    default:
        if (message == AccessibleActionMessage()) {
            DoDefaultAction(static_cast<int>(wParam));
            return 0;
        }
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

bool TControl::Describe(int child, TAccessibleItem& item) const
{
    if (child != 0 || !OnDescribe)
        return false;
    OnDescribe(const_cast<TControl*>(this), item);
    return true;
}

void TControl::DoDefaultAction(int child)
{
    if (child == 0 && Enabled())
        Click();
}

bool TControl::SetAccessibleValue(int child, const std::string& value)
{
    if (child != 0 || !OnSetAccessibleValue)
        return false;
    OnSetAccessibleValue(this, value);
    return true;
}

bool TControl::HandleCommand(WPARAM, LRESULT&) { return false; }
bool TControl::HandleNotify(NMHDR*, LRESULT&) { return false; }

HBRUSH TControl::HandleCtlColor(HDC dc)
{
    SetTextColor(dc, IsWindowEnabled(handle_) ? ColorToRGB(font_.Color()) : GetSysColor(COLOR_GRAYTEXT));
    SetBkColor(dc, ColorToRGB(color_));
    return SolidBrush(color_);
}

void TControl::FontChanged() {}

void TControl::DpiChanged(int) { SetFont(font_); }

int TControl::Dpi() const
{
    const TControl* control = this;
    while (control->parent_)
        control = control->parent_;
    return control->dpi_;
}

void TControl::Click()
{
    FireEvent(OnClick, this);
}

LRESULT TControl::Perform(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageW(handle_, message, wParam, lParam);
}

// ---- state ----

bool TControl::Visible() const { return (GetWindowLongW(handle_, GWL_STYLE) & WS_VISIBLE) != 0; }

void TControl::SetVisible(bool visible)
{
    if (visible == Visible())
        return;
    ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
    if (parent_ && align_ != TAlign::None)
        parent_->Realign();
}

bool TControl::Showing() const { return IsWindowVisible(handle_) != 0; }

bool TControl::Enabled() const { return IsWindowEnabled(handle_) != 0; }

void TControl::SetEnabled(bool enabled)
{
    EnableWindow(handle_, enabled);
    Invalidate();
}

std::string TControl::Text() const
{
    return WindowText(handle_);
}

void TControl::SetText(const std::string& text)
{
    if (text != Text())
        SetWindowTextW(handle_, ToWide(text).c_str());
}

void TControl::SetFont(const TFont& font)
{
    font_ = font;
    font_.SetPixelsPerInch(Dpi());
    if (handle_) {
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
        FontChanged();
        Invalidate();
    }
}

void TControl::SetFontColor(TColor color)
{
    font_.SetColor(color);
    Invalidate();
}

void TControl::SetColor(TColor color)
{
    color_ = color;
    Invalidate();
}

void TControl::SetHint(const std::string& hint)
{
    hint_ = hint;
    if (TForm* form = OwnerForm())
        form->SetToolTip(this, hint_);
}

void TControl::SetFocus()
{
    if (handle_)
        ::SetFocus(handle_);
}

bool TControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TControl::CanFocus() const { return handle_ && IsWindowVisible(handle_) && IsWindowEnabled(handle_); }

void TControl::BringToFront()
{
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TControl::PlaceAfter(const TControl& sibling)
{
    SetWindowPos(handle_, sibling.handle_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TControl::Invalidate()
{
    if (handle_)
        InvalidateRect(handle_, nullptr, TRUE);
}

void TControl::Update()
{
    if (handle_)
        UpdateWindow(handle_);
}

LRESULT TPaintedControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        TPaintDC dc(Handle());
        Paint(dc);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    default:
        return TControl::WndProc(message, wParam, lParam);
    }
}
