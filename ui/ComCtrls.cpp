#include "ui/ComCtrls.h"

#include "ui/Application.h"
#include "ui/Menus.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <oleacc.h>

#include <algorithm>
#include <cstring>

// ---- TToolButton ----

TToolButton::TToolButton(TToolBar* toolBar, TToolButtonStyle style, bool grouped, int image, const std::string& hint)
    : toolBar_(toolBar), style_(style), grouped_(grouped), image_(image), command_(NewCommandId())
{
    SetHint(hint);
}

void TToolButton::SetHint(const std::string& hint)
{
    hint_ = hint;
    if (!hint_.empty())
        SetCommandHint(command_, hint_);
}

BYTE TToolButton::SystemStyle() const
{
    switch (style_) {
    case TToolButtonStyle::Separator:
        return BTNS_SEP;
    case TToolButtonStyle::Check:
        return grouped_ ? BTNS_CHECKGROUP : BTNS_CHECK;
    case TToolButtonStyle::DropDown:
        return BTNS_WHOLEDROPDOWN;
    case TToolButtonStyle::Button:
        break;
    }
    return BTNS_BUTTON;
}

bool TToolButton::Down() const { return toolBar_->Perform(TB_ISBUTTONCHECKED, command_) != 0; }

void TToolButton::SetDown(bool down)
{
    if (down && grouped_) {
        // Pressing a grouped button releases the others of its group.
        for (const auto& other : toolBar_->Buttons())
            if (other.get() != this && other->grouped_ && other->style_ == TToolButtonStyle::Check)
                toolBar_->Perform(TB_CHECKBUTTON, other->command_, FALSE);
    }
    toolBar_->Perform(TB_CHECKBUTTON, command_, down);
}

bool TToolButton::Enabled() const { return toolBar_->Perform(TB_ISBUTTONENABLED, command_) != 0; }
void TToolButton::SetEnabled(bool enabled) { toolBar_->Perform(TB_ENABLEBUTTON, command_, enabled); }
bool TToolButton::Visible() const { return toolBar_->Perform(TB_ISBUTTONHIDDEN, command_) == 0; }
void TToolButton::SetVisible(bool visible) { toolBar_->Perform(TB_HIDEBUTTON, command_, !visible); }

void TToolButton::SetStyle(TToolButtonStyle style, bool grouped)
{
    bool down = Down();
    style_ = style;
    grouped_ = grouped;
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STYLE;
    info.fsStyle = SystemStyle();
    toolBar_->Perform(TB_SETBUTTONINFOW, command_, reinterpret_cast<LPARAM>(&info));
    if (style_ != TToolButtonStyle::Check && down)
        toolBar_->Perform(TB_CHECKBUTTON, command_, FALSE);
}

void TToolButton::Click()
{
    FireEvent(OnClick, this);
}

// ---- TToolBar ----

TToolBar::TToolBar(TControl* parent, int width, TImageList* images, TToolBarOptions options)
    : TControl(parent), showCaptions_(options.showCaptions)
{
    CreateHandle(TOOLBARCLASSNAMEA,
                 WS_VISIBLE | WS_CLIPCHILDREN | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN |
                     CCS_NODIVIDER | (showCaptions_ ? TBSTYLE_LIST : 0),
                 0, 0, 0, width, 22);
    Perform(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    Perform(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS | (showCaptions_ ? TBSTYLE_EX_MIXEDBUTTONS : 0));
    if (images)
        Perform(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images->Handle()));
    if (!showCaptions_)
        Perform(TB_SETBUTTONSIZE, 0, MAKELPARAM(Scaled(23), Scaled(22)));
}

void TToolBar::DpiChanged(int previous)
{
    TControl::DpiChanged(previous);
    if (!showCaptions_)
        Perform(TB_SETBUTTONSIZE, 0, MAKELPARAM(Scaled(23), Scaled(22)));
    for (const auto& button : buttons_) {
        if (button->style_ != TToolButtonStyle::Separator)
            continue;
        TBBUTTONINFOW info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_SIZE;
        RECT rect = ButtonRect(button.get());
        info.cx = static_cast<WORD>(MulDiv(rect.right - rect.left, Dpi(), previous));
        Perform(TB_SETBUTTONINFOW, button->command_, reinterpret_cast<LPARAM>(&info));
    }
}

TToolButton* TToolBar::AddButton(const std::string& hint, TNotifyEvent onClick, int image, TToolButtonStyle style,
                                 bool grouped)
{
    buttons_.push_back(std::unique_ptr<TToolButton>(new TToolButton(this, style, grouped, image, hint)));
    TToolButton* button = buttons_.back().get();
    button->OnClick = std::move(onClick);
    TBBUTTON tb{};
    tb.iBitmap = image >= 0 ? image : I_IMAGENONE;
    tb.idCommand = static_cast<int>(button->command_);
    tb.fsState = TBSTATE_ENABLED;
    tb.fsStyle = button->SystemStyle();
    if (showCaptions_ && style != TToolButtonStyle::Separator) {
        button->Caption = hint;
        button->wideCaption_ = ToWide(hint);
        tb.fsStyle |= BTNS_SHOWTEXT | BTNS_AUTOSIZE;
        tb.iString = reinterpret_cast<INT_PTR>(button->wideCaption_.c_str());
    } else {
        tb.iString = -1;
    }
    Perform(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
    return button;
}

TToolButton* TToolBar::AddSeparator(int width)
{
    TToolButton* button = AddButton("", nullptr, Scaled(width), TToolButtonStyle::Separator);
    return button;
}

int TToolBar::AddControlSpace(int width)
{
    TToolButton* space = AddSeparator(width);
    return Unscaled(ButtonRect(space).left);
}

TToolButton* TToolBar::FindButton(UINT command) const
{
    for (const auto& button : buttons_)
        if (button->command_ == command)
            return button.get();
    return nullptr;
}

int TToolBar::ButtonIndex(const TToolButton* button) const
{
    return static_cast<int>(Perform(TB_COMMANDTOINDEX, button->command_));
}

RECT TToolBar::ButtonRect(const TToolButton* button) const
{
    RECT rect{};
    Perform(TB_GETITEMRECT, ButtonIndex(button), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

bool TToolBar::HandleCommand(WPARAM wParam, LRESULT& result)
{
    if (TToolButton* button = FindButton(LOWORD(wParam))) {
        button->Click();
        result = 0;
        return true;
    }
    return false;
}

bool TToolBar::HandleNotify(NMHDR* header, LRESULT& result)
{
    if (header->code != TBN_DROPDOWN)
        return false;
    auto* info = reinterpret_cast<NMTOOLBARW*>(header);
    TToolButton* button = FindButton(static_cast<UINT>(info->iItem));
    if (!button || !button->DropdownMenu)
        return false;
    RECT rect = ButtonRect(button);
    POINT corner{rect.left, rect.bottom};
    ClientToScreen(Handle(), &corner);
    button->DropdownMenu->Popup(corner.x, corner.y);
    result = TBDDRET_DEFAULT;
    return true;
}

TToolButton* TToolBar::ElementButton(int child) const
{
    for (const auto& button : buttons_)
        if (button->style_ != TToolButtonStyle::Separator && --child == 0)
            return button.get();
    return nullptr;
}

int TToolBar::DescribedChildren() const
{
    return static_cast<int>(std::count_if(buttons_.begin(), buttons_.end(), [](const auto& button) {
        return button->style_ != TToolButtonStyle::Separator;
    }));
}

bool TToolBar::Describe(int child, TAccessibleItem& item) const
{
    if (child == 0) {
        item.role = ROLE_SYSTEM_TOOLBAR;
        return true;
    }
    TToolButton* button = ElementButton(child);
    if (!button)
        return false;
    item.role = button->style_ == TToolButtonStyle::DropDown ? ROLE_SYSTEM_BUTTONMENU : ROLE_SYSTEM_PUSHBUTTON;
    item.name = button->hint_.empty() ? button->Caption : button->hint_;
    item.shortcut = button->ShortCutText;
    item.action = "Press";
    item.rect = ButtonRect(button);
    if (!button->Enabled())
        item.state |= STATE_SYSTEM_UNAVAILABLE;
    if (!button->Visible())
        item.state |= STATE_SYSTEM_INVISIBLE;
    if (button->Down())
        item.state |= STATE_SYSTEM_PRESSED | STATE_SYSTEM_CHECKED;
    if (Perform(TB_GETHOTITEM) == ButtonIndex(button))
        item.state |= STATE_SYSTEM_HOTTRACKED;
    return true;
}

void TToolBar::DoDefaultAction(int child)
{
    TToolButton* button = ElementButton(child);
    if (!button || !button->Enabled() || !button->Visible())
        return;
    // As a click does it: a check button changes its state first.
    if (button->style_ == TToolButtonStyle::Check)
        button->SetDown(button->grouped_ || !button->Down());
    button->Click();
}

LRESULT TToolBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A toolbar keeps no keyboard focus: the field that had it stays the target.
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;
    return TControl::WndProc(message, wParam, lParam);
}

// ---- TControlBar ----

TControlBar::TControlBar(TControl* parent) : TControl(parent)
{
    CreateHandle(REBARCLASSNAMEA,
                 WS_VISIBLE | WS_CLIPCHILDREN | RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NOPARENTALIGN,
                 WS_EX_CONTROLPARENT, 0, 0, 100, 26);
    REBARINFO info{};
    info.cbSize = sizeof info;
    Perform(RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
}

void TControlBar::AddBand(TToolBar* toolBar)
{
    ReleaseArrangement();
    RECT size = toolBar->BoundsInPixels();
    Band band{toolBar, static_cast<UINT>(bands_.size() + 1), 0, 0, true, size.right - size.left,
              size.bottom - size.top};
    InsertBand(band);
    bands_.push_back(band);
    HeightChanged();
}

void TControlBar::InsertBand(const Band& band)
{
    REBARBANDINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_IDEALSIZE;
    info.fStyle = RBBS_GRIPPERALWAYS;
    info.hwndChild = band.toolBar->Handle();
    info.cxMinChild = static_cast<UINT>(band.width);
    info.cyMinChild = static_cast<UINT>(band.height);
    info.cx = info.cxMinChild;
    info.cxIdeal = info.cxMinChild;
    info.wID = band.id;
    Perform(RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info));
}

void TControlBar::HoldArrangement()
{
    if (held_)
        return;
    held_ = true;
    heldWidth_ = PixelWidth();
    heldPlaces_.clear();
}

void TControlBar::ReleaseArrangement()
{
    if (!held_)
        return;
    held_ = false;
    // The bands afresh, as added, at the width they were added at.
    laidOutQuietly_ = true;
    int width = PixelWidth(), height = PixelHeight();
    SetWindowPos(Handle(), nullptr, 0, 0, heldWidth_, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    while (Perform(RB_GETBANDCOUNT) > 0)
        Perform(RB_DELETEBAND, 0);
    for (Band& band : bands_) {
        band.left = band.top = 0;
        InsertBand(band);
    }
    for (const HeldPlace& place : heldPlaces_)
        SetBandPlace(place.toolBar, place.left, place.value);
    heldPlaces_.clear();
    SetWindowPos(Handle(), nullptr, 0, 0, width, PixelHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    laidOutQuietly_ = false;
    HeightChanged();
}

bool TControlBar::PlaceHeldBands(const std::vector<TBandPlace>& places)
{
    if (!held_)
        return false;
    held_ = false;
    for (const TBandPlace& place : places) {
        for (Band& band : bands_) {
            if (band.toolBar == place.toolBar) {
                band.left = place.left;
                band.top = place.top;
            }
        }
    }
    if (PlaceExactly()) {
        heldPlaces_.clear();
        return true;
    }
    held_ = true;
    ReleaseArrangement();
    return false;
}

bool TControlBar::PlaceExactly()
{
    // A toolbar's inset within its band and the gap between two bands of a
    // row, as the bar lays them out now.
    int count = static_cast<int>(Perform(RB_GETBANDCOUNT));
    int inset = -1, gap = -1;
    RECT previous{};
    for (int index = 0; index < count; ++index) {
        RECT rect{};
        Perform(RB_GETRECT, index, reinterpret_cast<LPARAM>(&rect));
        if (index > 0 && rect.top == previous.top && gap < 0)
            gap = rect.left - previous.right;
        previous = rect;
    }
    for (const Band& band : bands_) {
        if (band.visible) {
            RECT rect{};
            Perform(RB_GETRECT, BandIndex(band), reinterpret_cast<LPARAM>(&rect));
            inset = band.toolBar->BoundsInPixels().left - rect.left;
            break;
        }
    }
    if (inset < 0 || gap < 0)
        return false;
    // Each band as wide as the room up to the next one's place, the last of
    // a row up to the bar's edge: the bar then has no room to hand out.
    std::vector<std::vector<Band*>> rows = Rows();
    Perform(WM_SETREDRAW, FALSE);
    RECT client;
    GetClientRect(Handle(), &client);
    OrderBands(rows, [&](size_t r, size_t i) {
        int end = i + 1 < rows[r].size() ? Scaled(rows[r][i + 1]->left) - inset - gap : client.right;
        return std::max(0, end - (Scaled(rows[r][i]->left) - inset));
    });
    Perform(WM_SETREDRAW, TRUE);
    HeightChanged();
    for (const Band& band : bands_)
        if (band.visible && (band.toolBar->Left() != band.left || band.toolBar->Top() != band.top))
            return false;
    return true;
}

void TControlBar::OrderBands(const std::vector<std::vector<Band*>>& rows,
                             const std::function<int(size_t row, size_t band)>& width)
{
    int position = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t i = 0; i < rows[r].size(); ++i) {
            int index = BandIndex(*rows[r][i]);
            if (index != position)
                Perform(RB_MOVEBAND, index, position);
            REBARBANDINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = RBBIM_STYLE | RBBIM_SIZE;
            info.fStyle = RBBS_GRIPPERALWAYS | (i == 0 && r > 0 ? RBBS_BREAK : 0);
            info.cx = static_cast<UINT>(width(r, i));
            Perform(RB_SETBANDINFOW, position, reinterpret_cast<LPARAM>(&info));
            ++position;
        }
    }
}

std::vector<std::vector<TControlBar::Band*>> TControlBar::Rows()
{
    // Rows by top (tops within half a row of each other share one), then by left.
    std::vector<Band*> order;
    for (Band& band : bands_)
        if (band.visible)
            order.push_back(&band);
    std::stable_sort(order.begin(), order.end(), [](const Band* a, const Band* b) { return a->top < b->top; });
    const int halfRow = 13;
    std::vector<std::vector<Band*>> rows;
    int rowTop = 0;
    for (Band* band : order) {
        if (rows.empty() || band->top - rowTop >= halfRow) {
            rows.emplace_back();
            rowTop = band->top;
        }
        rows.back().push_back(band);
    }
    for (auto& row : rows)
        std::stable_sort(row.begin(), row.end(), [](const Band* a, const Band* b) { return a->left < b->left; });
    return rows;
}

int TControlBar::BandIndex(const Band& band) const { return static_cast<int>(Perform(RB_IDTOINDEX, band.id)); }

bool TControlBar::BandVisible(TToolBar* toolBar) const
{
    for (const Band& band : bands_)
        if (band.toolBar == toolBar)
            return band.visible;
    return false;
}

void TControlBar::SetBandVisible(TToolBar* toolBar, bool visible)
{
    ReleaseArrangement();
    for (Band& band : bands_) {
        if (band.toolBar != toolBar || band.visible == visible)
            continue;
        if (!visible)
            TakeActualPlaces();
        band.visible = visible;
        Perform(RB_SHOWBAND, BandIndex(band), visible);
        if (visible) {
            TakeActualPlaces();
            Arrange();
        }
        HeightChanged();
    }
}

void TControlBar::TakeActualPlaces()
{
    // The places asked for stand until the user drags bands about; a place
    // the bar cannot show (a first band of a row further right) is kept, so
    // that later moves order the bands as asked.
    if (!dragged_)
        return;
    dragged_ = false;
    for (Band& band : bands_) {
        if (band.visible) {
            band.left = band.toolBar->Left();
            band.top = band.toolBar->Top();
        }
    }
}

void TControlBar::SetBandLeft(TToolBar* toolBar, int left) { SetBandPlace(toolBar, true, left); }

void TControlBar::SetBandTop(TToolBar* toolBar, int top) { SetBandPlace(toolBar, false, top); }

void TControlBar::SetBandPlace(TToolBar* toolBar, bool left, int value)
{
    if (held_) {
        heldPlaces_.push_back({toolBar, left, value});
        return;
    }
    TakeActualPlaces();
    for (Band& band : bands_)
        if (band.toolBar == toolBar)
            (left ? band.left : band.top) = value;
    Arrange();
}

void TControlBar::Arrange()
{
    std::vector<std::vector<Band*>> rows = Rows();
    Perform(WM_SETREDRAW, FALSE);
    OrderBands(rows, [&](size_t r, size_t i) {
        RECT bounds = rows[r][i]->toolBar->BoundsInPixels();
        return static_cast<int>(bounds.right - bounds.left);
    });
    // Widen each band so that the next one in its row starts where it was asked to.
    for (auto& row : rows) {
        for (size_t i = 0; i + 1 < row.size(); ++i) {
            int index = BandIndex(*row[i]);
            RECT rect{};
            Perform(RB_GETRECT, index, reinterpret_cast<LPARAM>(&rect));
            int width = rect.right - rect.left;
            for (int attempt = 0; attempt < 2; ++attempt) {
                int delta = Scaled(row[i + 1]->left) - row[i + 1]->toolBar->BoundsInPixels().left;
                if (delta == 0)
                    break;
                width = std::max(0, width + delta);
                REBARBANDINFOW info{};
                info.cbSize = sizeof info;
                info.fMask = RBBIM_SIZE;
                info.cx = static_cast<UINT>(width);
                Perform(RB_SETBANDINFOW, index, reinterpret_cast<LPARAM>(&info));
            }
        }
    }
    Perform(WM_SETREDRAW, TRUE);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    HeightChanged();
}

void TControlBar::HeightChanged()
{
    if (laidOutQuietly_)
        return;
    int height = static_cast<int>(Perform(RB_GETBARHEIGHT));
    RECT now = BoundsInPixels();
    if (height != now.bottom - now.top)
        SetBoundsInPixels(now.left, now.top, now.right - now.left, height);
    if (height == lastHeight_)
        return;
    lastHeight_ = height;
    if (Parent())
        Parent()->Realign();
    FireEvent(OnResize, this);
}

bool TControlBar::HandleNotify(NMHDR* header, LRESULT& result)
{
    switch (header->code) {
    case RBN_HEIGHTCHANGE:
        HeightChanged();
        result = 0;
        return true;
    case RBN_BEGINDRAG:
        ReleaseArrangement();
        FireEvent(OnBandDrag, this);
        result = 0;
        return true;
    case RBN_ENDDRAG:
        dragged_ = true;
        return false;
    default:
        return false;
    }
}

int TControlBar::PixelWidth() const
{
    RECT bounds = BoundsInPixels();
    return bounds.right - bounds.left;
}

int TControlBar::PixelHeight() const
{
    RECT bounds = BoundsInPixels();
    return bounds.bottom - bounds.top;
}

void TControlBar::DpiChanged(int previous)
{
    TControl::DpiChanged(previous);
    for (Band& band : bands_) {
        band.width = MulDiv(band.width, Dpi(), previous);
        band.height = MulDiv(band.height, Dpi(), previous);
        REBARBANDINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE;
        info.cxMinChild = static_cast<UINT>(band.width);
        info.cyMinChild = static_cast<UINT>(band.height);
        info.cxIdeal = info.cxMinChild;
        Perform(RB_SETBANDINFOW, BandIndex(band), reinterpret_cast<LPARAM>(&info));
    }
    Arrange();
}

LRESULT TControlBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = TControl::WndProc(message, wParam, lParam);
    if (message == WM_SIZE)
        HeightChanged();
    return result;
}

// ---- TUpDown ----

TUpDown::TUpDown(TControl* parent, TControl* buddy, int min, int max, int position) : TControl(parent)
{
    CreateHandle(UPDOWN_CLASSA, WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0,
                 buddy->Left() + buddy->Width(), buddy->Top(), 16, buddy->Height());
    Perform(UDM_SETRANGE32, min, max);
    Perform(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy->Handle()));
    Perform(UDM_SETPOS32, 0, position);
}

int TUpDown::Position() const { return static_cast<int>(Perform(UDM_GETPOS32)); }
void TUpDown::SetPosition(int position) { Perform(UDM_SETPOS32, 0, position); }

bool TUpDown::HandleNotify(NMHDR*, LRESULT&) { return false; }

// ---- TDateTimePicker ----

TDateTimePicker::TDateTimePicker(TControl* parent, int left, int top, int width, int height, TDateTimeKind kind)
    : TControl(parent)
{
    CreateHandle(DATETIMEPICK_CLASSA,
                 WS_VISIBLE | (kind == TDateTimeKind::Time ? DTS_TIMEFORMAT : DTS_SHORTDATEFORMAT | DTS_UPDOWN), 0,
                 left, top, width, height);
}

SYSTEMTIME TDateTimePicker::DateTime() const
{
    SYSTEMTIME value{};
    Perform(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value));
    return value;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& value)
{
    settingValue_ = true;
    Perform(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
    settingValue_ = false;
}

bool TDateTimePicker::HandleNotify(NMHDR* header, LRESULT& result)
{
    if (header->code != DTN_DATETIMECHANGE)
        return false;
    if (!settingValue_)
        FireEvent(OnChange, this);
    result = 0;
    return true;
}

// ---- TProgressBar ----

TProgressBar::TProgressBar(TControl* parent, int left, int top, int width, int height) : TPaintedControl(parent)
{
    SetColor(clWindow);
    CreateHandle(PROGRESS_CLASSA, WS_VISIBLE, 0, left, top, width, height);
    Perform(PBM_SETRANGE32, 0, 100);
    SetText("0%");
}

int TProgressBar::Position() const { return static_cast<int>(Perform(PBM_GETPOS)); }

void TProgressBar::SetPosition(int position)
{
    position = std::clamp(position, 0, 100);
    if (position == Position())
        return;
    Perform(PBM_SETPOS, position);
    SetText(IntToStr(position) + "%");
    Invalidate();
}

void TProgressBar::Paint(HDC dc)
{
    RECT rect;
    GetClientRect(Handle(), &rect);
    DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    FillRect(dc, &rect, SolidBrush(Color()));
    RECT done = rect;
    done.right = rect.left + (rect.right - rect.left) * Position() / 100;
    FillRect(dc, &done, SolidBrush(BarColor));
    if (ShowText) {
        std::string text = Text();
        TSelectObject font(dc, Font().Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        DrawTextUtf8(dc, text, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        COLORREF bar = ColorToRGB(BarColor);
        if (GetRValue(bar) + GetGValue(bar) + GetBValue(bar) < 384) {
            // Over a dark bar the same text in white, so that it stays readable.
            TClipRegion clip(dc, done);
            SetTextColor(dc, RGB(255, 255, 255));
            DrawTextUtf8(dc, text, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
}
