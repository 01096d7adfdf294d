#include "ui/SpeedButton.h"

#include <oleacc.h>

static const char* const kSpeedButtonClass = "TSpeedButton";

TSpeedButton::TSpeedButton(TControl* parent, const std::string& caption, int left, int top, int width, int height)
    : TPaintedControl(parent)
{
    RegisterOwnClass(kSpeedButtonClass, CS_HREDRAW | CS_VREDRAW);
    CreateHandle(kSpeedButtonClass, WS_VISIBLE, 0, left, top, width, height, caption);
}

void TSpeedButton::SetText(const std::string& text)
{
    TControl::SetText(text);
    Invalidate();
}

bool TSpeedButton::Describe(int child, TAccessibleItem& item) const
{
    if (child != 0)
        return false;
    item.role = ROLE_SYSTEM_PUSHBUTTON;
    item.name = Text();
    item.action = "Press";
    if (hot_)
        item.state |= GetCapture() == Handle() ? STATE_SYSTEM_PRESSED : STATE_SYSTEM_HOTTRACKED;
    return true;
}

void TSpeedButton::Paint(HDC dc)
{
    RECT rect;
    GetClientRect(Handle(), &rect);
    TColor background = Parent() ? Parent()->Color() : Color();
    FillRect(dc, &rect, SolidBrush(background));
    bool pressed = hot_ && GetCapture() == Handle();
    if (pressed)
        DrawEdge(dc, &rect, Flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    else if (!Flat)
        DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
    else if (hot_ && IsWindowEnabled(Handle()))
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    TSelectObject font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    std::string caption = Text();
    if (pressed)
        OffsetRect(&rect, 1, 1);
    if (IsWindowEnabled(Handle())) {
        SetTextColor(dc, ColorToRGB(Font().Color()));
        DrawTextUtf8(dc, caption, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    } else {
        RECT shifted = rect;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextUtf8(dc, caption, &shifted, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextUtf8(dc, caption, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

LRESULT TSpeedButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if (!hot_) {
            hot_ = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
            TrackMouseEvent(&track);
            Invalidate();
        }
        break;
    case WM_MOUSELEAVE:
        hot_ = false;
        Invalidate();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_ENABLE:
        Invalidate();
        break;
    default:
        break;
    }
    return TPaintedControl::WndProc(message, wParam, lParam);
}
