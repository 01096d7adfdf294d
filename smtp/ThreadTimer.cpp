#include "smtp/HiddenWindow.h"
#include "smtp/SockConst.h"
#include "smtp/SocketClient.h"
#include "smtp/SocketHost.h"

namespace {

constexpr UINT_PTR TimerId = 1;

LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* timer = static_cast<TThreadTimer*>(HiddenWindowOwner(window));
    if (!timer)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_TIMER && wParam == TimerId)
        timer->Timer();
    return 0;
}

} // namespace

TThreadTimer::TThreadTimer()
{
    window_ = CreateHiddenWindow("TmrWindowClass", TimerWindowProc);
    SetHiddenWindowOwner(window_, this);
}

TThreadTimer::~TThreadTimer()
{
    KillTimer(window_, TimerId);
    DestroyHiddenWindow(window_);
}

void TThreadTimer::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    Update();
}

void TThreadTimer::SetInterval(unsigned interval)
{
    interval_ = interval;
    Update();
}

void TThreadTimer::SetOnTimer(TNotifyEvent handler)
{
    onTimer_ = std::move(handler);
    Update();
}

void TThreadTimer::Update()
{
    KillTimer(window_, TimerId);
    if (interval_ != 0 && enabled_ && onTimer_)
        if (!SetTimer(window_, TimerId, interval_, nullptr))
            throw Exception(SockText::NoTimer);
}

void TThreadTimer::Timer()
{
    // Reported once the handler has been left: no message loop runs while
    // an exception is being handled.
    std::string failure;
    bool failed = false;
    try {
        Fire(onTimer_, this);
    } catch (const std::exception& error) {
        failure = error.what();
        failed = true;
    }
    if (failed)
        SocketHost().ReportFailure(failure);
}
