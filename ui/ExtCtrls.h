// Panels, bevels, shapes, images and timers.
#pragma once

#include "ui/Controls.h"
#include "ui/GdiObjects.h"

#include <memory>
#include <string>

enum class TBevelCut { None, Lowered, Raised };

// A panel's face: its bevels drawn into `rect`, the outer first, each taking
// a pixel off `rect`; then its caption centred in what is left, greyed when
// the control is disabled.
void DrawBevels(HDC dc, RECT& rect, TBevelCut outer, TBevelCut inner);
void DrawCaption(HDC dc, const RECT& rect, const std::string& caption, const TFont& font, bool enabled);

// A rectangle with bevels and a centred caption. (A flat panel that acts as
// a button is a TPanelButton, ui/Buttons.h.)
class TPanel : public TPaintedControl {
public:
    TPanel(TControl* parent, int left, int top, int width, int height, const std::string& caption = "");
    void SetBevels(TBevelCut outer, TBevelCut inner);
    // A one-pixel sunken frame outside the client area, so that children
    // aligned to the client fill the inside of the frame.
    void SetSunkenFrame();
    // The frame of an edit field, drawn as the system draws an edit field's
    // border (two pixels wide); a child at 2, 2 sits inside it.
    void SetFieldFrame();
    void SetText(const std::string& text) override;

    TNotifyEvent OnResize;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    TBevelCut outer_ = TBevelCut::Raised;
    TBevelCut inner_ = TBevelCut::None;
    bool fieldFrame_ = false;
};

enum class TBevelShape { Box, Frame, TopLine, BottomLine, LeftLine, RightLine };

class TBevel : public TPaintedControl {
public:
    TBevel(TControl* parent, int left, int top, int width, int height, TBevelShape shape,
           TBevelCut style = TBevelCut::Lowered);

protected:
    void Paint(HDC dc) override;

private:
    TBevelShape shape_;
    TBevelCut style_;
};

// A filled rectangle with an outline.
class TShape : public TPaintedControl {
public:
    TShape(TControl* parent, int left, int top, int width, int height, TColor penColor, TColor brushColor);

protected:
    void Paint(HDC dc) override;

private:
    TColor penColor_, brushColor_;
};

struct TGraphicOptions {
    // A picture of the program drawn for the 96-DPI layout: an image shows it
    // at the display's scale (a picture file is shown pixel for pixel).
    bool scalesWithDisplay = false;
};

// Something an image shows: draws itself into a rectangle.
class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void Draw(HDC dc, const RECT& rect) const = 0;
    // See TGraphicOptions.
    bool ScalesWithDisplay = false;
};

// A bitmap, optionally drawn with one colour transparent.
class TBitmapGraphic : public TGraphic {
public:
    explicit TBitmapGraphic(TOwnedBitmap bitmap, TGraphicOptions options = {});

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Draw(HDC dc, const RECT& rect) const override;
    HBITMAP Handle() const { return bitmap_.Get(); }

    bool Transparent = false;
    COLORREF TransparentColor = RGB(255, 0, 255);

private:
    TOwnedBitmap bitmap_;
    int width_ = 0, height_ = 0;
};

class TImage : public TPaintedControl {
public:
    TImage(TControl* parent, int left, int top, int width, int height);

    void SetPicture(std::unique_ptr<TGraphic> picture);
    TGraphic* Picture() const { return picture_.get(); }
    bool Center() const { return center_; }
    void SetCenter(bool center);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    // Parts the picture leaves free show the parent's colour.
    bool Transparent = false;

protected:
    void Paint(HDC dc) override;

private:
    std::unique_ptr<TGraphic> picture_;
    bool center_ = false;
    bool stretch_ = false;
};

struct TTimerOptions {
    unsigned interval = 1000; // milliseconds
    bool enabled = true;      // ticking from the start
};

class TTimer : public TObject {
public:
    explicit TTimer(TTimerOptions options = {});
    ~TTimer() override;
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);

    TNotifyEvent OnTimer;

private:
    static HWND Window();
    void Update();

    unsigned interval_;
    bool enabled_;
    UINT_PTR id_;
};
