#include "ui/ExtCtrls.h"

#include "ui/Application.h"
#include "ui/MessageWindow.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <map>

static const char* const kPanelClass = "TPanel";
static const char* const kBevelClass = "TBevel";
static const char* const kShapeClass = "TShape";
static const char* const kImageClass = "TImage";

static void DrawCut(HDC dc, RECT& rect, TBevelCut cut)
{
    if (cut == TBevelCut::None)
        return;
    DrawEdge(dc, &rect, cut == TBevelCut::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}

void DrawBevels(HDC dc, RECT& rect, TBevelCut outer, TBevelCut inner)
{
    DrawCut(dc, rect, outer);
    DrawCut(dc, rect, inner);
}

void DrawCaption(HDC dc, const RECT& rect, const std::string& caption, const TFont& font, bool enabled)
{
    if (caption.empty())
        return;
    TSelectObject select(dc, font.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled ? ColorToRGB(font.Color()) : GetSysColor(COLOR_GRAYTEXT));
    RECT area = rect;
    DrawTextUtf8(dc, caption, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// The border of an edit field as the system draws it: the visual style's
// where one is active, else the classic sunken edge.
static void DrawFieldFrame(HWND window, HDC dc, const RECT& rect)
{
    if (IsThemeActive()) {
        if (HTHEME theme = OpenThemeData(window, L"Edit")) {
            RECT border = rect;
            DrawThemeBackground(theme, dc, EP_EDITTEXT, ETS_NORMAL, &border, nullptr);
            CloseThemeData(theme);
            return;
        }
    }
    RECT edge = rect;
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
}

// ---- TPanel ----

TPanel::TPanel(TControl* parent, int left, int top, int width, int height, const std::string& caption)
    : TPaintedControl(parent)
{
    RegisterOwnClass(kPanelClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    CreateHandle(kPanelClass, WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, left, top, width, height, caption);
}

void TPanel::SetBevels(TBevelCut outer, TBevelCut inner)
{
    outer_ = outer;
    inner_ = inner;
    Invalidate();
}

void TPanel::SetSunkenFrame()
{
    outer_ = inner_ = TBevelCut::None;
    SetWindowLongW(Handle(), GWL_EXSTYLE, GetWindowLongW(Handle(), GWL_EXSTYLE) | WS_EX_STATICEDGE);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TPanel::SetFieldFrame()
{
    outer_ = inner_ = TBevelCut::None;
    fieldFrame_ = true;
    Invalidate();
}

void TPanel::SetText(const std::string& text)
{
    TControl::SetText(text);
    Invalidate();
}

void TPanel::Paint(HDC dc)
{
    RECT rect;
    GetClientRect(Handle(), &rect);
    FillRect(dc, &rect, SolidBrush(Color()));
    if (fieldFrame_)
        DrawFieldFrame(Handle(), dc, rect);
    DrawBevels(dc, rect, outer_, inner_);
    DrawCaption(dc, rect, Text(), Font(), IsWindowEnabled(Handle()) != 0);
}

LRESULT TPanel::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = TPaintedControl::WndProc(message, wParam, lParam);
    if (message == WM_SETTEXT)
        Invalidate();
    else if (message == WM_SIZE)
        FireEvent(OnResize, this);
    return result;
}

// ---- TBevel ----

TBevel::TBevel(TControl* parent, int left, int top, int width, int height, TBevelShape shape, TBevelCut style)
    : TPaintedControl(parent), shape_(shape), style_(style)
{
    RegisterOwnClass(kBevelClass, CS_HREDRAW | CS_VREDRAW);
    CreateHandle(kBevelClass, WS_VISIBLE | WS_DISABLED, WS_EX_TRANSPARENT, left, top, width, height);
}

void TBevel::Paint(HDC dc)
{
    RECT r;
    GetClientRect(Handle(), &r);
    FillRect(dc, &r, SolidBrush(Parent() ? Parent()->Color() : clBtnFace));
    HBRUSH first = SolidBrush(style_ == TBevelCut::Raised ? clBtnHighlight : clBtnShadow);
    HBRUSH second = SolidBrush(style_ == TBevelCut::Raised ? clBtnShadow : clBtnHighlight);
    auto line = [&](int left, int top, int right, int bottom, HBRUSH brush) {
        RECT piece{left, top, right, bottom};
        FillRect(dc, &piece, brush);
    };
    switch (shape_) {
    case TBevelShape::TopLine:
        line(0, 0, r.right, 1, first);
        line(0, 1, r.right, 2, second);
        break;
    case TBevelShape::BottomLine:
        line(0, r.bottom - 2, r.right, r.bottom - 1, first);
        line(0, r.bottom - 1, r.right, r.bottom, second);
        break;
    case TBevelShape::LeftLine:
        line(0, 0, 1, r.bottom, first);
        line(1, 0, 2, r.bottom, second);
        break;
    case TBevelShape::RightLine:
        line(r.right - 2, 0, r.right - 1, r.bottom, first);
        line(r.right - 1, 0, r.right, r.bottom, second);
        break;
    case TBevelShape::Box:
        DrawEdge(dc, &r, style_ == TBevelCut::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
        break;
    case TBevelShape::Frame:
        DrawEdge(dc, &r, style_ == TBevelCut::Raised ? EDGE_BUMP : EDGE_ETCHED, BF_RECT);
        break;
    }
}

// ---- TShape ----

TShape::TShape(TControl* parent, int left, int top, int width, int height, TColor penColor, TColor brushColor)
    : TPaintedControl(parent), penColor_(penColor), brushColor_(brushColor)
{
    RegisterOwnClass(kShapeClass, CS_HREDRAW | CS_VREDRAW);
    CreateHandle(kShapeClass, WS_VISIBLE | WS_DISABLED, 0, left, top, width, height);
}

void TShape::Paint(HDC dc)
{
    RECT r;
    GetClientRect(Handle(), &r);
    FillRect(dc, &r, SolidBrush(penColor_));
    InflateRect(&r, -1, -1);
    if (r.right > r.left && r.bottom > r.top)
        FillRect(dc, &r, SolidBrush(brushColor_));
}

// ---- TImage ----

TBitmapGraphic::TBitmapGraphic(TOwnedBitmap bitmap, TGraphicOptions options) : bitmap_(std::move(bitmap))
{
    ScalesWithDisplay = options.scalesWithDisplay;
    BITMAP info{};
    if (bitmap_ && GetObjectW(bitmap_.Get(), sizeof info, &info)) {
        width_ = info.bmWidth;
        height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
}

void TBitmapGraphic::Draw(HDC dc, const RECT& rect) const
{
    TMemoryDC source(dc);
    TSelectObject select(source, bitmap_.Get());
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (Transparent) {
        TransparentBlt(dc, rect.left, rect.top, width, height, source, 0, 0, width_, height_, TransparentColor);
    } else {
        // Whole multiples keep every pixel sharp; other sizes are blended.
        bool whole = width % std::max(1, width_) == 0 && height % std::max(1, height_) == 0;
        SetStretchBltMode(dc, whole ? COLORONCOLOR : HALFTONE);
        StretchBlt(dc, rect.left, rect.top, width, height, source, 0, 0, width_, height_, SRCCOPY);
    }
}

TImage::TImage(TControl* parent, int left, int top, int width, int height) : TPaintedControl(parent)
{
    RegisterOwnClass(kImageClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    CreateHandle(kImageClass, WS_VISIBLE, 0, left, top, width, height);
}

void TImage::SetPicture(std::unique_ptr<TGraphic> picture)
{
    picture_ = std::move(picture);
    Invalidate();
}

void TImage::SetCenter(bool center)
{
    center_ = center;
    Invalidate();
}

void TImage::SetStretch(bool stretch)
{
    stretch_ = stretch;
    Invalidate();
}

void TImage::Paint(HDC dc)
{
    RECT client;
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, SolidBrush(Transparent && Parent() ? Parent()->Color() : Color()));
    if (picture_) {
        RECT target = client;
        if (!stretch_) {
            int width = picture_->Width(), height = picture_->Height();
            if (picture_->ScalesWithDisplay) {
                width = Scaled(width);
                height = Scaled(height);
            }
            int left = center_ ? (client.right - width) / 2 : 0;
            int top = center_ ? (client.bottom - height) / 2 : 0;
            target = RECT{left, top, left + width, top + height};
        }
        picture_->Draw(dc, target);
    }
}

// ---- TTimer ----

static std::map<UINT_PTR, TTimer*>& Timers()
{
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}

// The timers' one message window, made with the first timer and kept for the
// process (timers of static objects may outlive any order of destruction).
HWND TTimer::Window()
{
    static TMessageWindow* window = new TMessageWindow([](UINT message, WPARAM wParam, LPARAM) {
        if (message != WM_TIMER)
            return false;
        auto found = Timers().find(wParam);
        if (found != Timers().end() && found->second->enabled_) {
            TTimer* timer = found->second;
            FireEvent(timer->OnTimer, timer);
        }
        return true;
    });
    return window->Handle();
}

TTimer::TTimer(TTimerOptions options) : interval_(options.interval), enabled_(options.enabled)
{
    static UINT_PTR nextId = 1;
    id_ = nextId++;
    Timers()[id_] = this;
    Update();
}

TTimer::~TTimer()
{
    KillTimer(Window(), id_);
    Timers().erase(id_);
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled != enabled_) {
        enabled_ = enabled;
        Update();
    }
}

void TTimer::SetInterval(unsigned interval)
{
    if (interval != interval_) {
        interval_ = interval;
        Update();
    }
}

void TTimer::Update()
{
    HWND window = Window();
    KillTimer(window, id_);
    if (enabled_ && interval_ > 0)
        SetTimer(window, id_, interval_, nullptr);
}
