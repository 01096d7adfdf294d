// Push buttons as the system knows them: owner-drawn BUTTON windows. Each is
// in the tab order and shows a focus mark while it has the focus, Space
// presses it, and accessibility tools see a push button named by its
// caption. A click of the mouse does not give it the focus: the control that
// had the focus stays the window's active control. (Enter does not press it:
// the system sends Enter to the window, as for any button that is not the
// default one.)
#pragma once

#include "ui/Controls.h"
#include "ui/ExtCtrls.h"

#include <string>

class TCustomButton : public TPaintedControl {
public:
    void SetText(const std::string& text) override;
    bool Describe(int child, TAccessibleItem& item) const override;

protected:
    TCustomButton(TControl* parent, const std::string& caption, int left, int top, int width, int height);
    // Draws the face over the whole of `rect` and leaves in it the part
    // inside the face's edges, where the focus mark goes. `pressed` while
    // the mouse or Space holds the button down.
    virtual void PaintFace(HDC dc, RECT& rect, bool pressed) = 0;
    void Paint(HDC dc) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleCommand(WPARAM wParam, LRESULT& result) override;

private:
    bool Pressed() const;
};

// A button drawn as the system's classic raised button.
class TButton : public TCustomButton {
public:
    TButton(TControl* parent, const std::string& caption, int left, int top, int width, int height);

protected:
    void PaintFace(HDC dc, RECT& rect, bool pressed) override;
};

// A flat panel that acts as a button: one colour with bevels and a centred
// caption, drawn as TPanel draws a panel. Its window swaps the colours
// while the mouse is over it.
class TPanelButton : public TCustomButton {
public:
    // White with a black caption, a lowered outer and a raised inner bevel.
    TPanelButton(TControl* parent, const std::string& caption, int left, int top, int width, int height);
    void SetBevels(TBevelCut outer, TBevelCut inner);
    void SetColors(TColor background, TColor caption);
    // Black with a white caption while hot (under the mouse), else white with black.
    void SetHot(bool hot) { hot ? SetColors(clBlack, clWhite) : SetColors(clWhite, clBlack); }

protected:
    void PaintFace(HDC dc, RECT& rect, bool pressed) override;

private:
    TBevelCut outer_ = TBevelCut::Lowered;
    TBevelCut inner_ = TBevelCut::Raised;
};
