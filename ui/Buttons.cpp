#include "ui/Buttons.h"

#include <oleacc.h>

// ---- TCustomButton ----

TCustomButton::TCustomButton(TControl* parent, const std::string& caption, int left, int top, int width, int height)
    : TPaintedControl(parent)
{
    CreateHandle("BUTTON", WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, left, top, width, height, caption);
    TakeMouseClicks();
}

void TCustomButton::SetText(const std::string& text)
{
    TControl::SetText(text);
    Invalidate();
}

bool TCustomButton::Pressed() const { return (Perform(BM_GETSTATE) & BST_PUSHED) != 0; }

void TCustomButton::Paint(HDC dc)
{
    RECT rect;
    GetClientRect(Handle(), &rect);
    PaintFace(dc, rect, Pressed());
    if (GetFocus() == Handle()) {
        // Inside the edges; drawn inverted, so it shows on any face colour.
        InflateRect(&rect, -1, -1);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &rect);
    }
}

LRESULT TCustomButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        LRESULT result = TPaintedControl::WndProc(message, wParam, lParam);
        // Drawn pressed while held; the system's procedure follows the
        // mouse in and out from here.
        Perform(BM_SETSTATE, TRUE);
        return result;
    }
    case WM_LBUTTONUP:
        // Drawn released before the click runs (it may open a window).
        Perform(BM_SETSTATE, FALSE);
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != Handle())
            Perform(BM_SETSTATE, FALSE);
        break;
    case BM_SETSTATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: {
        // The system would draw these through the parent; the control
        // draws itself.
        LRESULT result = TPaintedControl::WndProc(message, wParam, lParam);
        Invalidate();
        return result;
    }
    default:
        break;
    }
    return TPaintedControl::WndProc(message, wParam, lParam);
}

bool TCustomButton::HandleCommand(WPARAM wParam, LRESULT& result)
{
    // Space: the system's procedure presses and releases the button.
    if (HIWORD(wParam) != BN_CLICKED)
        return false;
    Click();
    result = 0;
    return true;
}

bool TCustomButton::Describe(int child, TAccessibleItem& item) const
{
    if (child != 0)
        return false;
    item.role = ROLE_SYSTEM_PUSHBUTTON;
    item.name = Text();
    item.action = "Press";
    if (Pressed())
        item.state |= STATE_SYSTEM_PRESSED;
    return true;
}

// ---- TButton ----

TButton::TButton(TControl* parent, const std::string& caption, int left, int top, int width, int height)
    : TCustomButton(parent, caption, left, top, width, height)
{
}

void TButton::PaintFace(HDC dc, RECT& rect, bool pressed)
{
    FillRect(dc, &rect, SolidBrush(Parent() ? Parent()->Color() : Color()));
    DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    RECT caption = rect;
    if (pressed)
        OffsetRect(&caption, 1, 1);
    if (IsWindowEnabled(Handle())) {
        DrawCaption(dc, caption, Text(), Font(), true);
        return;
    }
    // Disabled: engraved, a light copy under the grey one.
    TFont light = Font();
    light.SetColor(clBtnHighlight);
    RECT shifted = caption;
    OffsetRect(&shifted, 1, 1);
    DrawCaption(dc, shifted, Text(), light, true);
    DrawCaption(dc, caption, Text(), Font(), false);
}

// ---- TPanelButton ----

TPanelButton::TPanelButton(TControl* parent, const std::string& caption, int left, int top, int width, int height)
    : TCustomButton(parent, caption, left, top, width, height)
{
    SetHot(false);
}

void TPanelButton::SetBevels(TBevelCut outer, TBevelCut inner)
{
    outer_ = outer;
    inner_ = inner;
    Invalidate();
}

void TPanelButton::SetColors(TColor background, TColor caption)
{
    if (Color() == background && Font().Color() == caption)
        return;
    SetColor(background);
    SetFontColor(caption);
}

void TPanelButton::PaintFace(HDC dc, RECT& rect, bool)
{
    FillRect(dc, &rect, SolidBrush(Color()));
    DrawBevels(dc, rect, outer_, inner_);
    DrawCaption(dc, rect, Text(), Font(), IsWindowEnabled(Handle()) != 0);
}
