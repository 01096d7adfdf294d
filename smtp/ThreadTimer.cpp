#include "smtp/SockConst.h"
#include "smtp/SocketClient.h"
#include "smtp/SocketHost.h"

namespace {

constexpr UINT_PTR TimerId = 1;

} // namespace

TThreadTimer::TThreadTimer()
    : window_(std::make_unique<TMessageWindow>([this](UINT message, WPARAM wParam, LPARAM) {
          if (message != WM_TIMER || wParam != TimerId)
              return false;
          Timer();
          return true;
      }))
{
}

TThreadTimer::~TThreadTimer() { KillTimer(window_->Handle(), TimerId); }

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
    KillTimer(window_->Handle(), TimerId);
    if (interval_ != 0 && enabled_ && onTimer_)
        if (!SetTimer(window_->Handle(), TimerId, interval_, nullptr))
            throw Exception(SockText::NoTimer);
}

void TThreadTimer::Timer()
{
    RunReportingFailure([this] { Fire(onTimer_, this); });
}
