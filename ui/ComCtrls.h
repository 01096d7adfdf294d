// Toolbars on a band bar, up-down buttons, date-time pickers and the progress bar.
#pragma once

#include "ui/Controls.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TImageList;
class TPopupMenu;
class TToolBar;

enum class TToolButtonStyle { Button, Check, Separator, DropDown };

class TToolButton : public TObject {
public:
    UINT Command() const { return command_; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    std::string Caption;
    int Tag = 0;

    bool Down() const;
    void SetDown(bool down);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    TToolButtonStyle Style() const { return style_; }
    bool Grouped() const { return grouped_; }
    // Check buttons that are grouped release each other.
    void SetStyle(TToolButtonStyle style, bool grouped = false);
    TPopupMenu* DropdownMenu = nullptr;
    TToolBar* ToolBar() const { return toolBar_; }
    // The key of the menu item that runs the same command ("Ctrl+N"), for
    // accessibility tools; set by the command table (ui/ActionList.h).
    std::string ShortCutText;

    TNotifyEvent OnClick;
    void Click();

private:
    friend class TToolBar;
    TToolButton(TToolBar* toolBar, TToolButtonStyle style, bool grouped, int image, const std::string& hint);
    BYTE SystemStyle() const;

    TToolBar* toolBar_;
    // The caption as the toolbar shows it.
    std::wstring wideCaption_;
    TToolButtonStyle style_;
    bool grouped_;
    int image_;
    std::string hint_;
    UINT command_;
};

struct TToolBarOptions {
    bool showCaptions = false; // button captions stand to the right of their pictures
};

class TToolBar : public TControl {
public:
    TToolBar(TControl* parent, int width, TImageList* images, TToolBarOptions options = {});

    TToolButton* AddButton(const std::string& hint, TNotifyEvent onClick = nullptr, int image = -1,
                           TToolButtonStyle style = TToolButtonStyle::Button, bool grouped = false);
    TToolButton* AddSeparator(int width = 8);
    // A place for a control of the given width; returns its left within the bar.
    int AddControlSpace(int width);
    const std::vector<std::unique_ptr<TToolButton>>& Buttons() const { return buttons_; }
    TToolButton* FindButton(UINT command) const;
    int ButtonIndex(const TToolButton* button) const;
    // The button's rectangle in the bar's client area, in the display's pixels.
    RECT ButtonRect(const TToolButton* button) const;

    // Accessibility tools see a tool bar whose elements are its buttons
    // (not the separators), each named by its hint.
    bool Describe(int child, TAccessibleItem& item) const override;
    int DescribedChildren() const override;
    void DoDefaultAction(int child) override;

protected:
    void DpiChanged(int previous) override;
    bool HandleCommand(WPARAM wParam, LRESULT& result) override;
    bool HandleNotify(NMHDR* header, LRESULT& result) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The button that is element `child` (1 and up) for accessibility tools.
    TToolButton* ElementButton(int child) const;

    std::vector<std::unique_ptr<TToolButton>> buttons_;
    bool showCaptions_;
};

// The band bar: toolbars in rows that the user can rearrange by dragging.
// Each toolbar's Left and Top are those of its window within the bar.
class TControlBar : public TControl {
public:
    explicit TControlBar(TControl* parent);

    void AddBand(TToolBar* toolBar);
    bool BandVisible(TToolBar* toolBar) const;
    void SetBandVisible(TToolBar* toolBar, bool visible);
    // Moves a toolbar within the bar; the other toolbars keep their places
    // where they can. Toolbars are put into rows by their tops, and within a
    // row in the order of their lefts.
    void SetBandLeft(TToolBar* toolBar, int left);
    void SetBandTop(TToolBar* toolBar, int top);

    // Every arrangement lays the bar out again and again and moves each of
    // its toolbars each time, and where the bands end up depends on the
    // arrangements before. While held, SetBandLeft and SetBandTop only note
    // the places asked for; ReleaseArrangement then arranges them one after
    // the other, as those calls would have, from the bands as added and at
    // the bar's width of the moment the hold began, and lays the bar out at
    // its present width after.
    void HoldArrangement();
    void ReleaseArrangement();
    // Puts every band at a place (its toolbar's left and top within the bar)
    // where it can stand, arranged at once from the held arrangement. When
    // the places are not exactly where the bands can stand, the held
    // arrangement is released instead and the result is false: the caller
    // then sets the places one by one.
    struct TBandPlace {
        TToolBar* toolBar;
        int left, top;
    };
    bool PlaceHeldBands(const std::vector<TBandPlace>& places);

    TNotifyEvent OnResize;
    // The user starts dragging a band.
    TNotifyEvent OnBandDrag;

protected:
    bool HandleNotify(NMHDR* header, LRESULT& result) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged(int previous) override;

private:
    int PixelWidth() const;
    int PixelHeight() const;
    struct Band {
        TToolBar* toolBar;
        UINT id;
        int left, top;
        bool visible;
        int width, height; // the toolbar's own size when added, in the display's pixels
    };
    struct HeldPlace {
        TToolBar* toolBar;
        bool left; // else the top
        int value;
    };
    void InsertBand(const Band& band);
    // The visible bands in rows by their tops, each row by the lefts.
    std::vector<std::vector<Band*>> Rows();
    // Puts the bands into the bar in the rows' order, each row on a line of
    // its own, each band `width(row, band)` wide.
    void OrderBands(const std::vector<std::vector<Band*>>& rows,
                    const std::function<int(size_t row, size_t band)>& width);
    bool PlaceExactly();
    int BandIndex(const Band& band) const;
    void SetBandPlace(TToolBar* toolBar, bool left, int value);
    void TakeActualPlaces();
    void Arrange();
    void HeightChanged();

    std::vector<Band> bands_;
    int lastHeight_ = -1;
    bool dragged_ = false; // the user moved bands since the places were taken
    bool held_ = false;
    int heldWidth_ = 0;
    std::vector<HeldPlace> heldPlaces_;
    bool laidOutQuietly_ = false; // no height changes reach the parent
};

class TUpDown : public TControl {
public:
    TUpDown(TControl* parent, TControl* buddy, int min, int max, int position);
    int Position() const;
    void SetPosition(int position);

protected:
    bool HandleNotify(NMHDR* header, LRESULT& result) override;
};

enum class TDateTimeKind { Time, Date };

class TDateTimePicker : public TControl {
public:
    TDateTimePicker(TControl* parent, int left, int top, int width, int height, TDateTimeKind kind);
    SYSTEMTIME DateTime() const;
    // Setting the value from the program does not count as a change by the user.
    void SetDateTime(const SYSTEMTIME& value);

    TNotifyEvent OnChange;

protected:
    bool HandleNotify(NMHDR* header, LRESULT& result) override;

private:
    bool settingValue_ = false;
};

class TProgressBar : public TPaintedControl {
public:
    TProgressBar(TControl* parent, int left, int top, int width, int height);
    int Position() const;
    // Limited to 0 to 100.
    void SetPosition(int position);
    // The percentage is written in the middle of the bar.
    bool ShowText = true;
    // The colour of the part done.
    TColor BarColor = clHighlight;

protected:
    void Paint(HDC dc) override;
};
