// Main and pop-up menus with shortcuts and icons, and image lists.
#pragma once

#include "ui/Classes.h"
#include "ui/Controls.h"
#include "ui/GdiObjects.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

// A list of 16 x 16 pictures for menus and toolbars.
class TImageList : public TObject {
public:
    // Pictures of a 96-DPI display's size; the list holds them at the size
    // drawn for the system's DPI (PictureSizeFor).
    TImageList(int width = 16, int height = 16);
    int Width() const { return width_; }
    int Height() const { return height_; }
    ~TImageList() override;
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    HIMAGELIST Handle() const { return handle_; }
    int Count() const;
    // Adds the pictures of a strip, side by side, magenta (red 255, green 0,
    // blue 255) transparent; returns the index of the first.
    int AddStrip(HBITMAP strip);
    // Adds a square of one colour with a dark outline; returns its index.
    int AddSwatch(COLORREF color);
    // A bitmap of one picture for a menu item (kept by the list).
    HBITMAP MenuBitmap(int index);

private:
    HIMAGELIST handle_;
    int width_, height_;
    std::vector<TOwnedBitmap> menuBitmaps_;
};

// A key with Shift, Ctrl and Alt, as "Ctrl+Alt+S" is written.
struct TShortCut {
    WORD key = 0;
    TShiftState shift = 0;
    bool Empty() const { return key == 0; }
    std::string Text() const;
};
// "Ctrl+N", "Ctrl+Alt+S", "F2", "Ctrl+Del"; an empty text gives no shortcut.
TShortCut ShortCut(const std::string& text);

class TMenu;

class TMenuItem : public TObject {
public:
    explicit TMenuItem(std::string caption = "", TNotifyEvent onClick = nullptr, TShortCut shortCut = {},
                       int imageIndex = -1);
    ~TMenuItem() override;

    static TMenuItem* FromCommand(UINT id);

    // Adds a sub-item (owned by this item) and returns it.
    TMenuItem* Add(std::unique_ptr<TMenuItem> item);
    TMenuItem* Add(const std::string& caption, TNotifyEvent onClick = nullptr, TShortCut shortCut = {},
                   int imageIndex = -1);
    TMenuItem* AddSeparator();
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Item(int index) const { return items_.at(index).get(); }
    TMenuItem* Find(const std::string& caption) const;

    const std::string& Caption() const { return caption_; }
    bool IsSeparator() const { return caption_ == "-"; }
    TShortCut ShortCutKey() const { return shortCut_; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int ImageIndex() const { return imageIndex_; }
    std::string Hint;
    // Clicking toggles the check mark before the click event runs.
    bool AutoCheck = false;

    TNotifyEvent OnClick;
    void Click();

    UINT Command() const { return command_; }
    HMENU SubMenu() const { return subMenu_; }
    // Finds the item, here or below, with this shortcut.
    TMenuItem* FindShortCut(WORD key, TShiftState shift);

private:
    friend class TMenu;
    void Attach(TMenu* menu, HMENU parentMenu);
    void SetOwnerMenu(TMenu* menu);
    void UpdateItem();
    std::string ItemText() const;

    std::string caption_;
    TShortCut shortCut_;
    int imageIndex_;
    bool checked_ = false;
    bool enabled_ = true;
    UINT command_;
    HMENU parentMenu_ = nullptr;
    HMENU subMenu_ = nullptr;
    TMenu* menu_ = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> items_;
};

class TMenu : public TObject {
public:
    HMENU Handle() const { return handle_; }
    TMenuItem& Items() { return root_; }
    TMenuItem* Add(const std::string& caption, TNotifyEvent onClick = nullptr, TShortCut shortCut = {},
                   int imageIndex = -1);
    TMenuItem* AddSeparator();

    // Where the item icons come from; null shows no icons.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);

protected:
    explicit TMenu(HMENU handle);
    ~TMenu() override;
    // Called after an item of the top level changed.
    virtual void Changed() {}

private:
    friend class TMenuItem;
    void RefreshImages(TMenuItem& item);

    HMENU handle_;
    TMenuItem root_;
    TImageList* images_ = nullptr;
};

class TMainMenu : public TMenu {
public:
    TMainMenu();
    // The window whose menu bar this is.
    void SetWindow(HWND window);
    // Runs the item whose shortcut this key is; false when none has it.
    bool HandleShortCut(WORD key, TShiftState shift);

protected:
    void Changed() override;

private:
    HWND window_ = nullptr;
};

class TPopupMenu : public TMenu {
public:
    TPopupMenu();
    // Shows the menu at a screen point and runs the chosen item.
    void Popup(int x, int y);
    TNotifyEvent OnPopup;
    // The control the menu was opened on.
    TControl* PopupComponent = nullptr;
};
