#include "ui/Menus.h"

#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <algorithm>
#include <map>

// ---- image lists ----

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

TOwnedBitmap CreateDib(int width, int height, int bits, void** pixels)
{
    TWindowDC screen;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    info.bmiHeader.biCompression = BI_RGB;
    return TOwnedBitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, pixels, nullptr, 0));
}

std::map<UINT, TMenuItem*>& MenuCommands()
{
    static std::map<UINT, TMenuItem*> commands;
    return commands;
}

} // namespace

TImageList::TImageList(int width, int height)
    : width_(width * PictureSizeFor(ScreenPixelsPerInch()) / 16),
      height_(height * PictureSizeFor(ScreenPixelsPerInch()) / 16)
{
    handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 8, 8);
}

TImageList::~TImageList() { ImageList_Destroy(handle_); }

int TImageList::Count() const { return ImageList_GetImageCount(handle_); }

int TImageList::AddStrip(HBITMAP strip) { return ImageList_AddMasked(handle_, strip, kTransparent); }

int TImageList::AddSwatch(COLORREF color)
{
    void* bits = nullptr;
    TOwnedBitmap bitmap = CreateDib(width_, height_, 32, &bits);
    auto* pixels = static_cast<DWORD*>(bits);
    DWORD fill = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            bool outside = x < 2 || y < 2 || x >= width_ - 2 || y >= height_ - 2;
            bool edge = x == 2 || y == 2 || x == width_ - 3 || y == height_ - 3;
            pixels[y * width_ + x] = outside ? 0xFF00FF : edge ? 0x404040 : fill;
        }
    }
    return ImageList_AddMasked(handle_, bitmap.Get(), kTransparent);
}

HBITMAP TImageList::MenuBitmap(int index)
{
    if (index < 0 || index >= Count())
        return nullptr;
    if (static_cast<int>(menuBitmaps_.size()) <= index)
        menuBitmaps_.resize(index + 1);
    if (menuBitmaps_[index])
        return menuBitmaps_[index].Get();
    // A 32-bit bitmap whose transparent pixels have alpha 0.
    void* bits = nullptr;
    TOwnedBitmap bitmap = CreateDib(width_, height_, 32, &bits);
    {
        TMemoryDC dc;
        TSelectObject select(dc, bitmap.Get());
        RECT all{0, 0, width_, height_};
        TOwnedBrush magenta(CreateSolidBrush(kTransparent));
        FillRect(dc, &all, magenta.Get());
        ImageList_Draw(handle_, index, dc, 0, 0, ILD_TRANSPARENT);
        GdiFlush();
    }
    auto* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; i < width_ * height_; ++i)
        pixels[i] = (pixels[i] & 0xFFFFFF) == 0xFF00FF ? 0 : (pixels[i] | 0xFF000000);
    menuBitmaps_[index] = std::move(bitmap);
    return menuBitmaps_[index].Get();
}

// ---- shortcuts ----

namespace {

struct KeyName {
    WORD key;
    const char* name;
};

const KeyName kKeyNames[] = {
    {VK_DELETE, "Del"}, {VK_INSERT, "Ins"},  {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_F1, "F1"},      {VK_F2, "F2"},       {VK_F3, "F3"},        {VK_F4, "F4"},
    {VK_F5, "F5"},      {VK_F6, "F6"},       {VK_F7, "F7"},        {VK_F8, "F8"},
    {VK_F9, "F9"},      {VK_F10, "F10"},     {VK_F11, "F11"},      {VK_F12, "F12"},
};

} // namespace

std::string TShortCut::Text() const
{
    if (Empty())
        return std::string();
    std::string text;
    if (shift & ssShift)
        text += "Shift+";
    if (shift & ssCtrl)
        text += "Ctrl+";
    if (shift & ssAlt)
        text += "Alt+";
    for (const KeyName& name : kKeyNames)
        if (name.key == key)
            return text + name.name;
    return text + static_cast<char>(key);
}

TShortCut ShortCut(const std::string& text)
{
    TShortCut result;
    std::string rest = text;
    for (;;) {
        if (rest.compare(0, 6, "Shift+") == 0) {
            result.shift |= ssShift;
            rest.erase(0, 6);
        } else if (rest.compare(0, 5, "Ctrl+") == 0) {
            result.shift |= ssCtrl;
            rest.erase(0, 5);
        } else if (rest.compare(0, 4, "Alt+") == 0) {
            result.shift |= ssAlt;
            rest.erase(0, 4);
        } else {
            break;
        }
    }
    for (const KeyName& name : kKeyNames)
        if (rest == name.name)
            result.key = name.key;
    if (!result.key && rest.size() == 1)
        result.key = static_cast<WORD>(UpperCase(rest)[0]);
    if (!result.key)
        result.shift = 0;
    return result;
}

// ---- menu items ----

TMenuItem::TMenuItem(std::string caption, TNotifyEvent onClick, TShortCut shortCut, int imageIndex)
    : OnClick(std::move(onClick)), caption_(std::move(caption)), shortCut_(shortCut), imageIndex_(imageIndex),
      command_(NewCommandId())
{
    MenuCommands()[command_] = this;
}

TMenuItem::~TMenuItem()
{
    MenuCommands().erase(command_);
    items_.clear();
    bool isRoot = menu_ && this == &menu_->root_;
    if (subMenu_ && !parentMenu_ && !isRoot)
        DestroyMenu(subMenu_);
}

TMenuItem* TMenuItem::FromCommand(UINT id)
{
    auto found = MenuCommands().find(id);
    return found == MenuCommands().end() ? nullptr : found->second;
}

TMenuItem* TMenuItem::Add(std::unique_ptr<TMenuItem> item)
{
    if (!subMenu_) {
        subMenu_ = CreatePopupMenu();
        UpdateItem();
    }
    TMenuItem* added = item.get();
    items_.push_back(std::move(item));
    added->Attach(menu_, subMenu_);
    return added;
}

TMenuItem* TMenuItem::Add(const std::string& caption, TNotifyEvent onClick, TShortCut shortCut, int imageIndex)
{
    return Add(std::make_unique<TMenuItem>(caption, std::move(onClick), shortCut, imageIndex));
}

TMenuItem* TMenuItem::AddSeparator() { return Add("-"); }

TMenuItem* TMenuItem::Find(const std::string& caption) const
{
    for (const auto& item : items_)
        if (item->caption_ == caption)
            return item.get();
    return nullptr;
}

void TMenuItem::Attach(TMenu* menu, HMENU parentMenu)
{
    parentMenu_ = parentMenu;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    // An item is inserted with its text: an item made without one becomes a
    // separator for good.
    std::wstring text = ToWide(ItemText());
    info.fMask = MIIM_ID | MIIM_FTYPE | (IsSeparator() ? 0 : MIIM_STRING);
    info.fType = IsSeparator() ? MFT_SEPARATOR : MFT_STRING;
    info.wID = command_;
    info.dwTypeData = &text[0];
    InsertMenuItemW(parentMenu_, GetMenuItemCount(parentMenu_), TRUE, &info);
    SetOwnerMenu(menu);
}

void TMenuItem::SetOwnerMenu(TMenu* menu)
{
    menu_ = menu;
    UpdateItem();
    for (auto& item : items_)
        item->SetOwnerMenu(menu);
}

std::string TMenuItem::ItemText() const
{
    std::string text = caption_.empty() ? " " : caption_;
    if (!shortCut_.Empty())
        text += "\t" + shortCut_.Text();
    return text;
}

void TMenuItem::UpdateItem()
{
    if (!parentMenu_)
        return;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    if (IsSeparator()) {
        info.fMask = MIIM_FTYPE;
        info.fType = MFT_SEPARATOR;
        SetMenuItemInfoW(parentMenu_, command_, FALSE, &info);
    } else {
        std::wstring text = ToWide(ItemText());
        info.fMask = MIIM_STRING | MIIM_STATE | MIIM_SUBMENU | MIIM_BITMAP;
        info.dwTypeData = &text[0];
        info.fState = (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_DISABLED);
        info.hSubMenu = subMenu_;
        TImageList* images = menu_ ? menu_->Images() : nullptr;
        info.hbmpItem = images ? images->MenuBitmap(imageIndex_) : nullptr;
        SetMenuItemInfoW(parentMenu_, command_, FALSE, &info);
    }
    if (menu_ && parentMenu_ == menu_->Handle())
        menu_->Changed();
}

void TMenuItem::SetChecked(bool checked)
{
    checked_ = checked;
    UpdateItem();
}

void TMenuItem::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    UpdateItem();
}

void TMenuItem::Click()
{
    if (!enabled_)
        return;
    if (AutoCheck)
        SetChecked(!checked_);
    FireEvent(OnClick, this);
}

TMenuItem* TMenuItem::FindShortCut(WORD key, TShiftState shift)
{
    if (!shortCut_.Empty() && shortCut_.key == key && shortCut_.shift == shift && enabled_)
        return this;
    for (auto& item : items_)
        if (TMenuItem* found = item->FindShortCut(key, shift))
            return found;
    return nullptr;
}

// ---- menus ----

TMenu::TMenu(HMENU handle) : handle_(handle)
{
    root_.menu_ = this;
    root_.subMenu_ = handle_;
}

TMenu::~TMenu()
{
    root_.items_.clear();
    root_.subMenu_ = nullptr;
    DestroyMenu(handle_);
}

TMenuItem* TMenu::Add(const std::string& caption, TNotifyEvent onClick, TShortCut shortCut, int imageIndex)
{
    return root_.Add(caption, std::move(onClick), shortCut, imageIndex);
}

TMenuItem* TMenu::AddSeparator() { return root_.AddSeparator(); }

void TMenu::SetImages(TImageList* images)
{
    images_ = images;
    RefreshImages(root_);
}

void TMenu::RefreshImages(TMenuItem& item)
{
    for (auto& child : item.items_) {
        child->UpdateItem();
        RefreshImages(*child);
    }
}

TMainMenu::TMainMenu() : TMenu(CreateMenu()) {}

void TMainMenu::SetWindow(HWND window)
{
    window_ = window;
    Changed();
}

// The menu bar is measured again only when it is redrawn.
void TMainMenu::Changed()
{
    if (window_)
        DrawMenuBar(window_);
}

bool TMainMenu::HandleShortCut(WORD key, TShiftState shift)
{
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU)
        return false;
    TMenuItem* item = Items().FindShortCut(key, shift);
    if (!item)
        return false;
    item->Click();
    return true;
}

TPopupMenu::TPopupMenu() : TMenu(CreatePopupMenu()) {}

void TPopupMenu::Popup(int x, int y)
{
    FireEvent(OnPopup, this);
    if (Items().Count() == 0)
        return;
    HWND owner = Application->ActiveWindowHandle();
    UINT command = static_cast<UINT>(
        TrackPopupMenu(Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
    if (TMenuItem* item = command ? TMenuItem::FromCommand(command) : nullptr)
        item->Click();
}
