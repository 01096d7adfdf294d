// Message-only windows: they never show, and the window system keeps no
// screen window for them. Timers and sockets have their messages sent to one;
// all are of one window class, each with the handler its owner gives it.
#pragma once

#include <windows.h>

#include <functional>

class TMessageWindow {
public:
    // True when the handler took the message; the others go to the system.
    using THandler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)>;

    // Raises EOutOfResources when the system refuses the window.
    explicit TMessageWindow(THandler handler);
    // Late messages reach nothing: the handler goes before the window.
    ~TMessageWindow();
    TMessageWindow(const TMessageWindow&) = delete;
    TMessageWindow& operator=(const TMessageWindow&) = delete;

    HWND Handle() const { return handle_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    THandler handler_;
    HWND handle_ = nullptr;
};
