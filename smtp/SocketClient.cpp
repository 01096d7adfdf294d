// TSocketClient: creation and destruction, the hidden window, host lookup,
// connect and close. Reading and writing are in SocketIO.cpp.
#include "smtp/SocketClient.h"

#include "smtp/SocketHost.h"
#include "smtp/TlsChannel.h"

#include <winsock.h>

#include <cstring>

namespace {

// Components alive in the process; Winsock runs while there is one.
int liveComponents = 0;

// Host names longer than this cannot be valid and are not looked up.
constexpr size_t MaxHostName = 255;

// All six notifications: read, write, out-of-band, accept, connect, close.
constexpr long AllSocketEvents = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;
static_assert(AllSocketEvents == 63, "the select mask asks for all six events");

void ReleaseWinsock()
{
    if (--liveComponents == 0)
        WSACleanup();
}

} // namespace

// ---- creation and destruction ----

TSocketClient::TSocketClient(TObject* owner) : owner_(owner), lookupBuffer_(new char[MAXGETHOSTSTRUCT])
{
    Report(TSockStatus::Create);
    messages_ = std::make_unique<TMessageWindow>([this](UINT message, WPARAM wParam, LPARAM lParam) {
        if (message < WM_SOCKET_SELECT || message > WM_SOCKET_READ_MORE)
            return false;
        HandleSocketMessage(message, wParam, lParam);
        return true;
    });
    window_ = messages_->Handle();
    try {
        timer_ = std::make_unique<TThreadTimer>();
        timer_->SetEnabled(false);
        timer_->SetOnTimer([this](TObject*) { TimerTriggered(); });

        Report(TSockStatus::InitializingWinsock);
        WSADATA data;
        if (liveComponents == 0 && WSAStartup(MAKEWORD(1, 1), &data) != 0)
            throw ESockError(SockText::InitFailed);
        ++liveComponents;
        winsockCounted_ = true;
        if (!CreateSocket(true)) {
            winsockCounted_ = false;
            ReleaseWinsock();
            throw ESockError(SockText::InitFailed);
        }
    } catch (...) {
        timer_.reset();
        messages_.reset();
        throw;
    }
}

TSocketClient::~TSocketClient()
{
    // No event reaches the owner from here on.
    destroying_ = true;
    Report(TSockStatus::Destroy);
    Abort();
    Cancel();
    timer_.reset();
    messages_.reset();
    window_ = nullptr;
    // The component goes whether or not the socket closes cleanly.
    IgnoreFailure([this] { CloseSocket(); });
    if (lookupHandle_)
        lookupBuffer_.release();  // a lookup still under way may write into it
    if (winsockCounted_)
        ReleaseWinsock();
}

bool TSocketClient::CreateSocket(bool linger)
{
    SOCKET handle = socket(AF_INET, SOCK_STREAM, linger ? IPPROTO_TCP : 0);
    bool ok = handle != INVALID_SOCKET && handle < NoSocket;
    if (ok && linger) {
        // A close resets the connection at once.
        struct linger option = {1, 0};
        ok = setsockopt(handle, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&option), sizeof option) == 0;
    }
    if (ok)
        ok = WSAAsyncSelect(handle, window_, WM_SOCKET_SELECT, AllSocketEvents) == 0;
    if (!ok) {
        if (handle != INVALID_SOCKET)
            closesocket(handle);
        socket_ = NoSocket;
        return false;
    }
    socket_ = static_cast<uint16_t>(handle);
    return true;
}

void TSocketClient::PurgeSocketMessages()
{
    if (!window_)
        return;
    MSG message;
    while (PeekMessageW(&message, window_, WM_SOCKET_SELECT, WM_SOCKET_SELECT, PM_REMOVE)) {
    }
    while (PeekMessageW(&message, window_, WM_SOCKET_WRITE_MORE, WM_SOCKET_READ_MORE, PM_REMOVE)) {
    }
}

// ---- status and errors ----

void TSocketClient::Report(TSockStatus status)
{
    const TSockStatusText& entry = SockStatusText(status);
    ReportText(entry.Level, entry.Text);
}

void TSocketClient::ReportText(int level, const std::string& text)
{
    if (level > ReportLevel)
        return;
    statusText_ = text;
    if (!destroying_)
        Fire(OnStatus, this, std::string(text));
}

bool IsToleratedSockError(int error) { return error == WSAEWOULDBLOCK; }

void TSocketClient::ErrorTest(int error)
{
    Report(TSockStatus::CheckingErrorInErrorManager);
    lastError_ = error;
    if (!IsToleratedSockError(error))
        throw ESockError(ErrorText(error));
}

std::string TSocketClient::ErrorText(int code)
{
    Report(TSockStatus::LookingUpErrorMessage);
    return SockErrorText(code);
}

// ---- time-out timer ----

void TSocketClient::TimerOn()
{
    Report(TSockStatus::TimerOn);
    timedOut_ = false;
    timer_->SetInterval(TimeOut > 0 ? static_cast<unsigned>(TimeOut) : 0);
    timer_->SetEnabled(true);
}

void TSocketClient::TimerOff()
{
    Report(TSockStatus::TimerOff);
    timer_->SetEnabled(false);
}

void TSocketClient::TimerTriggered()
{
    Report(TSockStatus::TimerTriggered);
    TimerOff();
    timedOut_ = true;
    Abort();
}

// ---- host lookup and connect ----

void TSocketClient::ResolveHost()
{
    Report(TSockStatus::ResolveHost);
    const bool nameFits = !Host.empty() && Host.size() <= MaxHostName;
    if (nameFits) {
        unsigned long dotted = inet_addr(Host.c_str());
        if (dotted != INADDR_NONE) {
            address_ = dotted;
            return;
        }
    }
    address_ = 0;
    if (!nameFits)
        throw ESockError(SockText::HostLookupFailed);

    lookupName_ = Host;
    if (!lookupBuffer_)
        lookupBuffer_.reset(new char[MAXGETHOSTSTRUCT]);
    TimerOn();
    lookupDone_ = false;
    lookupError_ = 0;
    lookupHandle_ = WSAAsyncGetHostByName(window_, WM_SOCKET_LOOKUP, lookupName_.c_str(), lookupBuffer_.get(),
                                          MAXGETHOSTSTRUCT);
    if (!lookupHandle_) {
        TimerOff();
        throw ESockError(SockText::HostLookupFailed);
    }
    while (!(lookupDone_ || timedOut_ || cancelFlag_))
        WaitStep();
    TimerOff();
    if (!lookupDone_) {
        // The abandoned lookup may still fill its buffer: give it up to the lookup.
        WSACancelAsyncRequest(lookupHandle_);
        lookupBuffer_.release();
    }
    lookupHandle_ = nullptr;

    if (timedOut_)
        throw ESockError(SockText::HostLookupTimedOut);
    if (cancelFlag_)
        throw ESockError(SockText::HostLookupCanceled);
    if (lookupError_ != 0)
        throw ESockError(SockText::HostLookupFailed);
    const hostent* entry = reinterpret_cast<const hostent*>(lookupBuffer_.get());
    if (entry->h_length != 4 || !entry->h_addr_list || !entry->h_addr_list[0])
        throw ESockError(SockText::HostLookupFailed);
    std::memcpy(&address_, entry->h_addr_list[0], 4);
    Fire(OnHostResolved, this);
}

void TSocketClient::Connect()
{
    Report(TSockStatus::Connecting);
    cancelFlag_ = false;
    if (connected_)
        throw ESockError(SockText::AlreadyConnected);
    if (Port < 1 || Port > 65535)
        throw ESockError(SockText::InvalidPort);

    // Nothing of an earlier connection is read or sent on this one.
    ClearReceiveBuffer();
    EndTls();
    closedByPeer_ = false;
    closeError_ = 0;
    if (socket_ == NoSocket && !CreateSocket(false))
        throw ESockError(SockText::InitFailed);

    for (int attempt = 0;; ++attempt) {
        try {
            ResolveHost();
        } catch (const ESockError& error) {
            if (error.Message() == SockText::HostLookupTimedOut || error.Message() == SockText::HostLookupCanceled)
                throw;
            address_ = 0;
        }
        if (address_ != 0)
            break;
        bool handled = false;
        if (attempt == 0 && OnInvalidHost)
            OnInvalidHost(handled);
        if (!handled)
            throw ESockError(SockText::NullRemoteAddress);
    }

    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<u_short>(Port));
    remote.sin_addr.s_addr = address_;

    noError_ = true;
    connectDone_ = false;
    connectError_ = 0;
    if (connect(socket_, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == SOCKET_ERROR)
        ErrorTest(WSAGetLastError());

    TimerOn();
    connecting_ = true;
    while (!(connectDone_ || timedOut_ || cancelFlag_))
        WaitStep();
    connecting_ = false;
    TimerOff();

    // A server may have closed an accepted connection already; what it sent is kept.
    if (connectDone_ && connectError_ == 0 && !timedOut_ && !cancelFlag_)
        return;
    // The attempt may still be under way, or even succeed later: start afresh.
    connected_ = false;
    if (connectError_ != 0)
        lastError_ = connectError_;
    ResetSocket();
    Fire(OnConnectionFailed, this);
    if (timedOut_)
        throw ESockError(SockText::ConnectionTimedOut);
    if (cancelFlag_)
        throw ESockError(SockText::ConnectionCanceled);
    throw ESockError(SockText::ConnectionFailed);
}

// ---- close ----

void TSocketClient::Disconnect()
{
    Report(TSockStatus::Disconnecting);
    CloseSocket();
}

void TSocketClient::CloseSocket()
{
    Report(TSockStatus::RequestCloseSocket);
    connected_ = false;
    EndTls();
    if (socket_ == NoSocket) {
        if (!destroying_)
            CreateSocket(false);
        return;
    }
    const SOCKET handle = socket_;
    socket_ = NoSocket;
    const bool closed = closesocket(handle) == 0;
    const int error = closed ? 0 : WSAGetLastError();
    PurgeSocketMessages();
    if (destroying_) {
        if (!closed)
            ErrorTest(error);
        return;
    }
    CreateSocket(false);
    if (!closed)
        ErrorTest(error);
    Fire(OnDisconnect, this);
}

void TSocketClient::ResetSocket()
{
    if (socket_ != NoSocket)
        closesocket(socket_);
    socket_ = NoSocket;
    EndTls();
    PurgeSocketMessages();
    CreateSocket(false);
}

// ---- notifications ----

void TSocketClient::HandleSocketMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    RunReportingFailure([&] {
        const int error = WSAGETSELECTERROR(lParam);
        switch (message) {
        case WM_SOCKET_SELECT:
            // A notification for a socket closed since is stale.
            if (wParam != static_cast<WPARAM>(socket_) || socket_ == NoSocket)
                return;
            noError_ = error == 0;
            SelectEvent(WSAGETSELECTEVENT(lParam), error);
            break;
        case WM_SOCKET_LOOKUP:
            if (!lookupHandle_ || reinterpret_cast<HANDLE>(wParam) != lookupHandle_)
                return;
            noError_ = error == 0;
            lookupError_ = error;
            lookupDone_ = true;
            break;
        case WM_SOCKET_WRITE_MORE:
            noError_ = error == 0;
            WriteFromStream();
            break;
        case WM_SOCKET_READ_MORE:
            noError_ = error == 0;
            ReadToStream();
            break;
        }
    });
}

void TSocketClient::SelectEvent(int event, int error)
{
    switch (event) {
    case FD_READ:
        ReadToStream();
        break;
    case FD_WRITE:
        WriteFromStream();
        break;
    case FD_CONNECT:
        connectDone_ = true;
        connectError_ = error;
        if (error == 0) {
            connected_ = true;
            Fire(OnConnect, this);
        }
        break;
    case FD_CLOSE:
        if (connecting_ && !connectDone_) {
            connectDone_ = true;
            connectError_ = error != 0 ? error : WSAECONNREFUSED;
            break;
        }
        ReceiveAll();
        closedByPeer_ = true;
        closeError_ = error;
        connected_ = false;
        CloseSocket();
        break;
    }
}
