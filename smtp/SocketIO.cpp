// TSocketClient: reading lines, writing, the send queue and the bounded waits.
#include "smtp/SocketClient.h"

#include "smtp/SocketHost.h"

#include <winsock.h>

#include <algorithm>
#include <cstring>

namespace {

// At most this many bytes go to or come from the network per call.
constexpr int ChunkSize = 16383;
// The write buffer holds this many characters and a terminating zero.
constexpr size_t WriteLimit = 16384;
// A line without a line feed may not grow beyond this.
constexpr size_t MaxLineLength = 65536;
// Milliseconds one write notification may spend sending before it posts the rest.
constexpr ULONGLONG WriteSlice = 15;
// Used when neither TimeOut nor SilenceLimit gives a bound.
constexpr unsigned DefaultSilence = 300000;

// Keeps read and write handlers from running inside each other; work that
// arrives meanwhile is posted again once the running handler is done.
class THandlerGuard {
public:
    THandlerGuard(bool& busy, bool& readDeferred, bool& writeDeferred, HWND window)
        : busy_(busy), readDeferred_(readDeferred), writeDeferred_(writeDeferred), window_(window)
    {
        busy_ = true;
    }
    ~THandlerGuard()
    {
        busy_ = false;
        if (writeDeferred_) {
            writeDeferred_ = false;
            PostMessageW(window_, WM_SOCKET_WRITE_MORE, 0, 0);
        }
        if (readDeferred_) {
            readDeferred_ = false;
            PostMessageW(window_, WM_SOCKET_READ_MORE, 0, 0);
        }
    }
    THandlerGuard(const THandlerGuard&) = delete;
    THandlerGuard& operator=(const THandlerGuard&) = delete;

private:
    bool& busy_;
    bool& readDeferred_;
    bool& writeDeferred_;
    HWND window_;
};

} // namespace

// ---- waiting ----

void TSocketClient::WaitStep()
{
    Sleep(2);
    SocketHost().ProcessMessages();
}

unsigned TSocketClient::WaitLimit() const
{
    unsigned limit = std::max(TimeOut > 0 ? static_cast<unsigned>(TimeOut) : 0u, SilenceLimit);
    return limit != 0 ? limit : DefaultSilence;
}

void TSocketClient::FailWait(const std::string& text)
{
    ClearSendQueue();
    // The dialogue is out of step: a late answer must not be taken for the next one.
    if (connected_)
        CloseSocket();
    throw ESockError(text);
}

std::string TSocketClient::ClosedText()
{
    if (!closedByPeer_)
        return SockText::NotConnected;
    return closeError_ != 0 ? ErrorText(closeError_) : std::string(SockText::ConnectionClosed);
}

void TSocketClient::Post(UINT message) { PostMessageW(window_, message, 0, 0); }

// ---- simple operations ----

void TSocketClient::Abort() {}

void TSocketClient::Cancel()
{
    Report(TSockStatus::Canceling);
    cancelFlag_ = true;
}

void TSocketClient::CheckConnected()
{
    for (int attempt = 0;; ++attempt) {
        if (connected_)
            return;
        bool handled = false;
        if (attempt == 0 && OnConnectionRequired)
            OnConnectionRequired(handled);
        if (!handled)
            throw Exception(SockText::NotConnected);
    }
}

void TSocketClient::ClearReceiveBuffer()
{
    received_.clear();
    receivedStart_ = 0;
}

void TSocketClient::SetReply(const std::string& line, int code)
{
    lastReply_ = line;
    replyCode_ = code;
}

int TSocketClient::ParseReplyCode(const std::string& line)
{
    long long value = 0;
    size_t digits = 0;
    while (digits < 10 && digits < line.size() && line[digits] >= '0' && line[digits] <= '9')
        value = value * 10 + (line[digits++] - '0');
    if (digits == 0)
        return 0;
    if (value > 32767)
        throw ERangeError(SockText::RangeError);
    return static_cast<int>(value);
}

// ---- reading ----

std::string TSocketClient::ReadLn()
{
    Report(TSockStatus::ReadLn);
    const unsigned limit = WaitLimit();
    const ULONGLONG start = GetTickCount64();
    size_t lineFeed;
    for (;;) {
        if (cancelFlag_)
            throw EAbortError(SockText::ReadLnAborted);
        lineFeed = received_.find('\n', receivedStart_);
        if (lineFeed != std::string::npos)
            break;
        // A reply that came together with the close has been read above.
        if (!connected_)
            throw ESockError(ClosedText());
        if (tlsBroken_)
            FailWait(SockText::SecureChannelBroken);
        if (PendingReceived() > MaxLineLength)
            FailWait(SockText::LineTooLong);
        if (GetTickCount64() - start >= limit)
            FailWait(SockText::ReadLnTimedOut);
        WaitStep();
    }
    std::string line = received_.substr(receivedStart_, lineFeed + 1 - receivedStart_);
    receivedStart_ = lineFeed + 1;
    if (receivedStart_ == received_.size())
        ClearReceiveBuffer();
    else if (receivedStart_ > MaxLineLength) {
        received_.erase(0, receivedStart_);
        receivedStart_ = 0;
    }
    return line;
}

void TSocketClient::ReadToStream()
{
    if (cancelFlag_) {
        WSAAsyncSelect(socket_, window_, 0, 0);
        if (CancelHook)
            CancelHook();
    }
    if (handlerBusy_) {
        readDeferred_ = true;
        return;
    }
    THandlerGuard guard(handlerBusy_, readDeferred_, writeDeferred_, window_);
    Report(TSockStatus::ReadToStream);
    // With TLS the bytes are records, decrypted as soon as they are whole.
    std::string& target = tls_ ? cipherIn_ : received_;
    const size_t before = target.size();
    target.resize(before + ChunkSize);
    const int count = recv(socket_, &target[before], ChunkSize, 0);
    target.resize(before + std::max(count, 0));
    if (count == SOCKET_ERROR)
        lastError_ = WSAGetLastError();
    else if (sending_)
        receivedBytes_ += count;
    DecryptReceived();
    if (count == ChunkSize)
        Post(WM_SOCKET_READ_MORE);
}

void TSocketClient::ReceiveAll()
{
    char buffer[ChunkSize];
    while (!cancelFlag_) {
        const int count = recv(socket_, buffer, ChunkSize, 0);
        if (count <= 0)
            break;
        (tls_ ? cipherIn_ : received_).append(buffer, count);
    }
    DecryptReceived();
}

// ---- writing ----

void TSocketClient::WriteFromStream()
{
    if (handlerBusy_) {
        writeDeferred_ = true;
        return;
    }
    THandlerGuard guard(handlerBusy_, readDeferred_, writeDeferred_, window_);
    Report(TSockStatus::WriteFromStream);
    // Chunk after chunk while the network takes them, but only for a moment:
    // then the rest is posted again, so that the program's other messages run.
    const ULONGLONG start = GetTickCount64();
    const char* data;
    size_t pending;
    while (!cancelFlag_ && NextOutgoing(data, pending)) {
        const int chunk = static_cast<int>(std::min<size_t>(pending, ChunkSize));
        const int count = send(socket_, data, chunk, 0);
        if (count == SOCKET_ERROR) {
            // "Would block": the write notification resumes the sending.
            lastError_ = WSAGetLastError();
            if (lastError_ != WSAEWOULDBLOCK)
                sendError_ = lastError_;
            break;
        }
        const size_t done = Sent(static_cast<size_t>(count));
        sentBytes_ += done;
        if (sending_ && done > 0)
            Fire(OnPacketSent, this);
        if (!sendQueue_.Empty() && GetTickCount64() - start >= WriteSlice) {
            Post(WM_SOCKET_WRITE_MORE);
            break;
        }
    }
    if (sendQueue_.Empty())
        sentFlag_ = true;
}

void TSocketClient::WaitUntilSent()
{
    sentFlag_ = false;
    sendError_ = 0;
    Post(WM_SOCKET_WRITE_MORE);
    const unsigned limit = WaitLimit();
    ULONGLONG lastProgress = GetTickCount64();
    int64_t sentSeen = sentBytes_;
    for (;;) {
        if (sentFlag_ || cancelFlag_)
            return;
        if (sendError_ != 0)
            FailWait(ErrorText(sendError_));
        if (tlsBroken_)
            FailWait(SockText::SecureChannelBroken);
        if (!connected_)
            FailWait(ClosedText());
        const ULONGLONG now = GetTickCount64();
        if (sentBytes_ != sentSeen) {
            sentSeen = sentBytes_;
            lastProgress = now;
        } else if (now - lastProgress >= limit) {
            FailWait(SockText::SendTimedOut);
        }
        WaitStep();
    }
}

void TSocketClient::SendBuffer(const void* data, size_t length)
{
    Report(TSockStatus::SendingBuffer);
    if (cancelFlag_)
        return;
    if (length == 0)
        length = strnlen(static_cast<const char*>(data), 65535);
    sendQueue_.Append(data, length);
    WaitUntilSent();
    if (cancelFlag_) {
        cancelFlag_ = false;
        ClearSendQueue();
        throw EAbortError(SockText::SendAborted);
    }
}

void TSocketClient::Write(const std::string& text)
{
    Report(TSockStatus::Write);
    const size_t length = std::min(text.size(), WriteLimit);
    std::memcpy(writeBuffer_, text.data(), length);
    writeBuffer_[length] = '\0';
    SendBuffer(writeBuffer_, 0);
}

void TSocketClient::Writeln(const std::string& text)
{
    Report(TSockStatus::Writeln);
    Write(text + "\r\n");
}

void TSocketClient::SendStream(TStream& stream)
{
    sending_ = true;
    try {
        Report(TSockStatus::SendStream);
        if (!cancelFlag_) {
            stream.SetPosition(0);
            Report(TSockStatus::SendFile);
            sentBytes_ = 0;
            totalBytes_ = stream.Size();
            // The caller waits here until the queue drains, so its memory can be lent.
            if (auto* memory = dynamic_cast<TMemoryStream*>(&stream))
                sendQueue_.Lend(memory->Memory(), memory->DataSize());
            else
                sendQueue_.AppendFrom(stream, static_cast<size_t>(totalBytes_));
            WaitUntilSent();
        }
    } catch (...) {
        sending_ = false;
        ClearSendQueue();
        throw;
    }
    sending_ = false;
    if (cancelFlag_) {
        cancelFlag_ = false;
        ClearSendQueue();
        throw EAbortError(SockText::SendAborted);
    }
}

std::string TSocketClient::Transaction(const std::string& command)
{
    Report(TSockStatus::Transaction);
    replyCode_ = 0;
    Writeln(command);
    lastReply_ = ReadLn();
    if (!lastReply_.empty()) {
        ReportText(ReplyLineLevel, lastReply_);
        replyCode_ = ParseReplyCode(lastReply_);
    }
    return lastReply_;
}
