// A flat button that never takes the keyboard focus. Accessibility tools see
// a push button named by its caption, unavailable while disabled.
#pragma once

#include "ui/Controls.h"

#include <string>

class TSpeedButton : public TPaintedControl {
public:
    TSpeedButton(TControl* parent, const std::string& caption, int left, int top, int width, int height);
    void SetText(const std::string& text) override;
    bool Describe(int child, TAccessibleItem& item) const override;
    // A flat button shows its edge only under the mouse.
    bool Flat = true;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    bool hot_ = false;
};
