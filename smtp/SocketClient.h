// TSocketClient: a blocking, line-oriented TCP client on asynchronous Winsock 1.1,
// without threads. Every blocking operation starts the asynchronous work and then
// waits by sleeping 2 ms and handling all pending window messages, again and again,
// so the user interface stays live while it waits.
#pragma once

#include "smtp/ByteQueue.h"
#include "smtp/SockConst.h"
#include "ui/Classes.h"
#include "ui/MessageWindow.h"
#include "ui/SysUtils.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TTlsChannel;

class ESockError : public Exception { public: using Exception::Exception; };
class EAbortError : public Exception { public: using Exception::Exception; };
class ERangeError : public Exception { public: using Exception::Exception; };

// Handled is false on entry; a handler sets it to ask for one more attempt.
using THandlerEvent = std::function<void(bool& Handled)>;
using TOnHostResolved = std::function<void(TObject* Sender)>;
using TOnStatus = std::function<void(TObject* Sender, const std::string& Status)>;

// Window messages of the component's hidden window.
enum : UINT {
    WM_SOCKET_SELECT = 1125,  // asynchronous select: event in LOWORD(lParam), error in HIWORD
    WM_SOCKET_LOOKUP = 1126,  // the asynchronous host lookup answered
    WM_SOCKET_WRITE_MORE = 1127,
    WM_SOCKET_READ_MORE = 1128,
};

// A window timer on the GUI thread with its own hidden window. It runs while
// Interval is not 0, it is enabled and it has a handler.
class TThreadTimer : public TObject {
public:
    TThreadTimer();
    ~TThreadTimer() override;
    TThreadTimer(const TThreadTimer&) = delete;
    TThreadTimer& operator=(const TThreadTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler);

    // The timer message of the hidden window.
    void Timer();

private:
    void Update();

    std::unique_ptr<TMessageWindow> window_;
    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotifyEvent onTimer_;
};

// Whether a Winsock error only says that the operation goes on in the background.
bool IsToleratedSockError(int error);

class TSocketClient : public TObject {
public:
    explicit TSocketClient(TObject* owner = nullptr);
    ~TSocketClient() override;
    TSocketClient(const TSocketClient&) = delete;
    TSocketClient& operator=(const TSocketClient&) = delete;

    // Resolves Host and connects; raises ESockError on failure.
    virtual void Connect();
    // Closes the connection; the component keeps a fresh socket for the next Connect.
    virtual void Disconnect();
    // Writes the command and CR LF, reads one reply line and sets ReplyCode from it.
    virtual std::string Transaction(const std::string& command);
    // Stops what is under way; nothing at this level.
    virtual void Abort();

    // Makes the waiting read or write end with EAbortError.
    void Cancel();
    // Returns when connected; otherwise OnConnectionRequired gets one chance.
    void CheckConnected();
    // The next received line, its line feed (and any CR before it) included.
    std::string ReadLn();
    // Sends the text up to its first zero character, at most 16384 characters.
    void Write(const std::string& text);
    void Writeln(const std::string& text);
    // Sends `length` bytes; a length of 0 means up to the first zero byte (at most 65535).
    void SendBuffer(const void* data, size_t length);
    // Sends the whole stream, counting SentBytes against TotalBytes.
    void SendStream(TStream& stream);
    // Makes the open connection a TLS one: the handshake, bounded as a whole
    // like a read, then the check of the server's certificate against the system's trusted
    // roots and `serverName`. Everything read and written afterwards goes
    // through TLS; the counters count the plain bytes. On failure the
    // connection is closed without another byte and ETlsError is raised
    // (EAbortError when cancelled).
    void StartTls(const std::string& serverName);

    // The code of a reply line: its leading decimal digits (of the first ten
    // characters), 0 when it has none; ERangeError when it does not fit 16 bits.
    static int ParseReplyCode(const std::string& line);

    TObject* Owner() const { return owner_; }

    std::string Host;
    int Port = 0;
    // Limit in milliseconds for the host lookup and the connect; 0 means no limit.
    int TimeOut = 0;
    int ReportLevel = 0;
    // Reading a line, or sending, fails when nothing arrives or drains for the
    // longer of TimeOut and this many milliseconds.
    unsigned SilenceLimit = 300000;

    TNotifyEvent OnDisconnect;
    TNotifyEvent OnConnect;
    THandlerEvent OnInvalidHost;
    TOnHostResolved OnHostResolved;
    TOnStatus OnStatus;
    TNotifyEvent OnConnectionFailed;
    THandlerEvent OnConnectionRequired;
    TNotifyEvent OnPacketSent;

    bool Connected() const { return connected_; }
    bool CancelFlag() const { return cancelFlag_; }
    bool TimedOut() const { return timedOut_; }
    int ReplyCode() const { return replyCode_; }
    const std::string& LastReply() const { return lastReply_; }
    int LastError() const { return lastError_; }
    int64_t SentBytes() const { return sentBytes_; }
    int64_t TotalBytes() const { return totalBytes_; }
    int64_t ReceivedBytes() const { return receivedBytes_; }
    const std::string& StatusText() const { return statusText_; }
    // Bytes received and not yet returned by ReadLn.
    size_t PendingReceived() const { return received_.size() - receivedStart_; }

    // Messages 1125 to 1128 of the hidden window.
    void HandleSocketMessage(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    void Report(TSockStatus status);
    void ReportText(int level, const std::string& text);
    // Closes the socket (firing OnDisconnect) and, unless destroying, makes a fresh one.
    void CloseSocket();
    void ClearReceiveBuffer();
    void ClearCancelFlag() { cancelFlag_ = false; }
    void SetReply(const std::string& line, int code);
    // From here on no event fires and no fresh socket is made.
    void BeginDestroy() { destroying_ = true; }

    // Run by the first receive notification after a cancel.
    std::function<void()> CancelHook;

private:
    static constexpr uint16_t NoSocket = 65535;

    bool CreateSocket(bool linger);
    void ResetSocket();
    void PurgeSocketMessages();
    void SelectEvent(int event, int error);
    void ErrorTest(int error);
    std::string ErrorText(int code);
    void ResolveHost();
    void TimerOn();
    void TimerOff();
    void TimerTriggered();
    void ReadToStream();
    void WriteFromStream();
    void ReceiveAll();
    void Post(UINT message);
    void WaitStep();
    unsigned WaitLimit() const;
    void WaitUntilSent();
    void FailWait(const std::string& text);
    std::string ClosedText();
    void ClearSendQueue();
    // TLS (SocketTls.cpp).
    void Handshake(TTlsChannel& channel, std::string& input);
    void AwaitHandshakeData(std::string& input, ULONGLONG start);
    void EndTls();
    void DecryptReceived();
    // The bytes to pass to the network next: the front of the queue, or with
    // TLS the rest of the record made from it; false when nothing is left.
    bool NextOutgoing(const char*& data, size_t& count);
    // `count` bytes of NextOutgoing went out; returns the plain bytes done.
    size_t Sent(size_t count);

    TObject* owner_;
    std::unique_ptr<TMessageWindow> messages_;
    HWND window_ = nullptr; // messages_'s, while there is one
    std::unique_ptr<TThreadTimer> timer_;
    uint16_t socket_ = NoSocket;
    bool winsockCounted_ = false;
    uint32_t address_ = 0;  // network byte order; 0 means unresolved
    std::string lookupName_;
    std::unique_ptr<char[]> lookupBuffer_;
    HANDLE lookupHandle_ = nullptr;
    int lookupError_ = 0;
    char writeBuffer_[16385];

    bool connected_ = false;
    bool cancelFlag_ = false;
    bool timedOut_ = false;
    bool noError_ = false;
    bool lookupDone_ = false;
    bool connecting_ = false;
    bool connectDone_ = false;
    int connectError_ = 0;
    bool sentFlag_ = false;
    bool sending_ = false;
    bool handlerBusy_ = false;
    bool readDeferred_ = false;
    bool writeDeferred_ = false;
    bool destroying_ = false;
    bool closedByPeer_ = false;
    int closeError_ = 0;
    int sendError_ = 0;

    std::string received_;
    size_t receivedStart_ = 0;
    TByteQueue sendQueue_;

    // The TLS session once the handshake is done: the bytes received and not
    // yet decrypted, and the record being sent with the plain bytes it carries.
    std::unique_ptr<TTlsChannel> tls_;
    std::string cipherIn_;
    std::string record_;
    size_t recordSent_ = 0;
    size_t recordData_ = 0;
    bool tlsBroken_ = false;

    std::string lastReply_;
    int replyCode_ = 0;
    int lastError_ = 0;
    int64_t sentBytes_ = 0;
    int64_t totalBytes_ = 0;
    int64_t receivedBytes_ = 0;
    std::string statusText_;
};
