// TControl: its place and size, in the 96-DPI layout and in pixels, and the
// alignment of its children.
#include "ui/Controls.h"

#include <windows.h>

#include <algorithm>

static RECT RectInParent(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    HWND parent = GetParent(window);
    if (parent && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT TControl::BoundsInPixels() const { return RectInParent(handle_); }

void TControl::SetBoundsInPixels(int left, int top, int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    // A window put where it already is would change nothing but cost a round
    // trip to the window server and its neighbours' visible regions.
    RECT now = RectInParent(handle_);
    if (now.left == left && now.top == top && now.right - now.left == width && now.bottom - now.top == height)
        return;
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int TControl::Left() const { return Unscaled(RectInParent(handle_).left); }
int TControl::Top() const { return Unscaled(RectInParent(handle_).top); }
int TControl::Width() const
{
    RECT rect;
    GetWindowRect(handle_, &rect);
    return Unscaled(rect.right - rect.left);
}
int TControl::Height() const
{
    RECT rect;
    GetWindowRect(handle_, &rect);
    return Unscaled(rect.bottom - rect.top);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    RECT rect{Scaled(left), Scaled(top), 0, 0};
    rect.right = rect.left + Scaled(width);
    rect.bottom = rect.top + Scaled(height);
    if (!parent_ && Dpi() != 96) {
        // A window of a 96-DPI layout made larger stays on the work area of
        // its monitor, as it was at 96 DPI.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& work = monitor.rcWork;
            LONG w = std::min(rect.right - rect.left, work.right - work.left);
            LONG h = std::min(rect.bottom - rect.top, work.bottom - work.top);
            rect.left = std::clamp(rect.left, work.left, work.right - w);
            rect.top = std::clamp(rect.top, work.top, work.bottom - h);
            rect.right = rect.left + w;
            rect.bottom = rect.top + h;
        }
    }
    SetBoundsInPixels(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

// Each changes one figure: the others stay in the display's pixels as they are.
void TControl::SetLeft(int left)
{
    RECT now = RectInParent(handle_);
    SetBoundsInPixels(Scaled(left), now.top, now.right - now.left, now.bottom - now.top);
}
void TControl::SetTop(int top)
{
    RECT now = RectInParent(handle_);
    SetBoundsInPixels(now.left, Scaled(top), now.right - now.left, now.bottom - now.top);
}
void TControl::SetWidth(int width)
{
    RECT now = RectInParent(handle_);
    SetBoundsInPixels(now.left, now.top, Scaled(width), now.bottom - now.top);
}
void TControl::SetHeight(int height)
{
    RECT now = RectInParent(handle_);
    SetBoundsInPixels(now.left, now.top, now.right - now.left, Scaled(height));
}

int TControl::ClientWidth() const
{
    RECT rect;
    GetClientRect(handle_, &rect);
    return Unscaled(rect.right);
}

int TControl::ClientHeight() const
{
    RECT rect;
    GetClientRect(handle_, &rect);
    return Unscaled(rect.bottom);
}

void TControl::SetAlign(TAlign align)
{
    align_ = align;
    if (parent_)
        parent_->Realign();
}

void TControl::Realign()
{
    if (!handle_)
        return;
    RECT area;
    GetClientRect(ContainerHandle(), &area);
    auto place = [&](TAlign which) {
        for (TControl* child : children_) {
            if (child->align_ != which || !child->Visible() || !child->handle_)
                continue;
            RECT bounds = child->BoundsInPixels();
            int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
            switch (which) {
            case TAlign::Top:
                child->SetBoundsInPixels(area.left, area.top, area.right - area.left, height);
                area.top += height;
                break;
            case TAlign::Bottom:
                child->SetBoundsInPixels(area.left, area.bottom - height, area.right - area.left, height);
                area.bottom -= height;
                break;
            case TAlign::Left:
                child->SetBoundsInPixels(area.left, area.top, width, area.bottom - area.top);
                area.left += width;
                break;
            case TAlign::Right:
                child->SetBoundsInPixels(area.right - width, area.top, width, area.bottom - area.top);
                area.right -= width;
                break;
            case TAlign::Client:
                child->SetBoundsInPixels(area.left, area.top, area.right - area.left, area.bottom - area.top);
                break;
            case TAlign::None:
                break;
            }
        }
    };
    place(TAlign::Top);
    place(TAlign::Bottom);
    place(TAlign::Left);
    place(TAlign::Right);
    place(TAlign::Client);
}
