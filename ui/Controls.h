// TControl: one window of the program, with its events. Every control is a
// child window whose window text is its caption.
#pragma once

#include "ui/Accessible.h"
#include "ui/Classes.h"
#include "ui/Graphics.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TForm;
class TPopupMenu;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = unsigned;

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyPressEvent = std::function<void(TObject* sender, wchar_t& key)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TDescribeEvent = std::function<void(TObject* sender, TAccessibleItem& item)>;
using TTextEvent = std::function<void(TObject* sender, const std::string& text)>;

// How a control is placed when its parent changes size.
enum class TAlign { None, Top, Bottom, Left, Right, Client };

class TControl : public TObject {
public:
    ~TControl() override;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const { return handle_; }
    TControl* Parent() const { return parent_; }
    // The form this control lies on (the form itself for a form).
    TForm* OwnerForm() const;
    static TControl* FromHandle(HWND window);

    std::string Name;
    int Tag = 0;

    // Place and size relative to the parent's client area, in the pixels of a
    // 96-DPI display: the window itself holds them multiplied by its form's
    // DPI / 96, so that the program's code keeps the same figures at every
    // display scale. Mouse events report positions in the same units.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    int ClientWidth() const;
    int ClientHeight() const;
    // The place and size in the pixels of the display, relative to the
    // parent's client area (to the screen for a form).
    RECT BoundsInPixels() const;
    void SetBoundsInPixels(int left, int top, int width, int height);

    // The dots per inch the control is laid out for: those of its form.
    int Dpi() const;
    // A figure of a 96-DPI layout in the pixels of this control's display, and back.
    int Scaled(int value) const { return MulDiv(value, Dpi(), 96); }
    int Unscaled(int value) const { return MulDiv(value, 96, Dpi()); }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    // The control's own visibility (a visible control on a hidden parent is not showing).
    bool Visible() const;
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Showing() const;
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // The window text: the caption of buttons, panels and labels, the text of fields.
    virtual std::string Text() const;
    virtual void SetText(const std::string& text);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }

    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    void SetFontColor(TColor color);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);

    TPopupMenu* PopupMenu = nullptr;

    void SetFocus();
    bool Focused() const;
    bool CanFocus() const;
    void BringToFront();
    // Puts the control right after `sibling` in the order of its parent's
    // children, which is the order Tab moves in.
    void PlaceAfter(const TControl& sibling);
    void Invalidate();
    void Update();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    // The mouse capture that a press of the left button took went elsewhere
    // (another window, a message box) before the button was released.
    TNotifyEvent OnCaptureLost;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyDown;

    // Runs the click event as a click of the user would.
    virtual void Click();

    // Lays out the children that have an alignment (called on every size change).
    void Realign();

    LRESULT Perform(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // ---- what accessibility tools are told (ui/Accessible.h) ----
    // Describes the control (child 0) or an element drawn inside it (1 and
    // up); false leaves the control to the system's own description. A
    // control of a plain kind (a picture that shows a value) is described
    // by OnDescribe, which gets the item with its role unset.
    virtual bool Describe(int child, TAccessibleItem& item) const;
    // How many elements are drawn inside the control.
    virtual int DescribedChildren() const { return 0; }
    // A tool runs the default action of the control (a click) or of an element.
    virtual void DoDefaultAction(int child);
    // A tool sets the value the control shows; false when it has none to set.
    virtual bool SetAccessibleValue(int child, const std::string& value);
    TDescribeEvent OnDescribe;
    TTextEvent OnSetAccessibleValue;

protected:
    explicit TControl(TControl* parent);

    // Creates the window, with its text when given; for system window classes
    // the window is subclassed so that its messages pass through WndProc.
    void CreateHandle(const char* className, DWORD style, DWORD exStyle, int left, int top, int width, int height,
                      const std::string& text = std::string());
    // Registers one of the program's own window classes (once per class name).
    static void RegisterOwnClass(const char* className, UINT classStyle = CS_DBLCLKS, HBRUSH background = nullptr,
                                 HICON icon = nullptr);

    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Notifications a parent passes on to the child that sent them.
    virtual bool HandleCommand(WPARAM wParam, LRESULT& result);
    virtual bool HandleNotify(NMHDR* header, LRESULT& result);
    // Colours of system controls; null for the system's own.
    virtual HBRUSH HandleCtlColor(HDC dc);
    // The left button's presses and releases of a system control are the
    // control's own (it takes the mouse and clicks itself, as a control of
    // our own class does); the system's procedure never sees them, so it
    // takes no focus for them.
    void TakeMouseClicks() { ownClicks_ = true; }
    // Keeps a font as the control's own without giving it to the window.
    void StoreFont(const TFont& font)
    {
        font_ = font;
        font_.SetPixelsPerInch(Dpi());
    }
    // Called after the font changed.
    virtual void FontChanged();
    // Called on each control of a form whose DPI changed from `previous`,
    // after its place was scaled: gives the control its font made for the new
    // DPI; a control that holds pixel figures of its own (button sizes,
    // pictures) scales them too.
    virtual void DpiChanged(int previous);
    // The form's DPI, held by the top control.
    int dpi_ = 96;
    // The window that children are created in (the control's own window, but for
    // controls that keep their children in an inner window).
    virtual HWND ContainerHandle() const;

    std::vector<TControl*> children_;

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // One message for WndProc: no failure leaves it.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleMouse(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleToolTipNotify(NMHDR* header, LRESULT& result);

    HWND handle_ = nullptr;
    TControl* parent_;
    // A system control's own procedure, under StaticWndProc.
    WNDPROC systemProc_ = nullptr;
    TAlign align_ = TAlign::None;
    TFont font_;
    TColor color_ = clBtnFace;
    bool ownColor_ = false;
    std::string hint_;
    bool pressed_ = false;
    bool ownClicks_ = false;

    friend class TForm;
};

// A control of our own that paints itself: no background erase, and the same
// picture on the screen and in a WM_PRINTCLIENT capture.
class TPaintedControl : public TControl {
protected:
    using TControl::TControl;
    virtual void Paint(HDC dc) = 0;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

TShiftState ShiftStateFromKeys();

// The text of any window, as UTF-8.
std::string WindowText(HWND window);

// Command numbers of menu items and toolbar buttons, unique in the program.
UINT NewCommandId();
// The tool tip of a command number (toolbar buttons); null when it has none.
const std::wstring* CommandHint(UINT id);
void SetCommandHint(UINT id, const std::string& hint);
