// TSocketClient: TLS over the open connection. The handshake waits the way
// every other operation does; afterwards the read and write handlers pass the
// bytes through the session.
#include "smtp/SocketClient.h"

#include "smtp/TlsChannel.h"

#include <algorithm>

void TSocketClient::StartTls(const std::string& serverName)
{
    try {
        // Bytes the server sent before the handshake did not come through it:
        // taking them for replies would let anyone on the way speak for the server.
        if (PendingReceived() != 0)
            throw ETlsError(tfHandshake, SockText::DataBeforeHandshake);
        auto channel = std::make_unique<TTlsChannel>(serverName);
        std::string input;
        Handshake(*channel, input);
        channel->VerifyServer();
        // What came after the handshake is the first record of the session.
        cipherIn_ = input + received_.substr(receivedStart_);
        ClearReceiveBuffer();
        tls_ = std::move(channel);
        DecryptReceived();
    } catch (const EAbortError&) {
        ClearCancelFlag();
        TSocketClient::Disconnect();
        throw;
    } catch (const ETlsError&) {
        TSocketClient::Disconnect();
        throw;
    } catch (const Exception& error) {
        // A time-out, or a server that closed the connection during the handshake.
        TSocketClient::Disconnect();
        throw ETlsError(tfHandshake, error.Message());
    }
}

void TSocketClient::Handshake(TTlsChannel& channel, std::string& input)
{
    // One bound for the whole handshake: a server cannot stretch it a byte at a time.
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const std::string token = channel.Handshake(input);
        if (!token.empty())
            SendBuffer(token.data(), token.size());
        if (channel.Done())
            return;
        AwaitHandshakeData(input, start);
    }
}

void TSocketClient::AwaitHandshakeData(std::string& input, ULONGLONG start)
{
    const unsigned limit = WaitLimit();
    while (PendingReceived() == 0) {
        if (cancelFlag_)
            throw EAbortError(SockText::ReadLnAborted);
        if (!connected_)
            throw ESockError(ClosedText());
        if (GetTickCount64() - start >= limit)
            throw ESockError(SockText::HandshakeTimedOut);
        WaitStep();
    }
    input += received_.substr(receivedStart_);
    ClearReceiveBuffer();
}

void TSocketClient::EndTls()
{
    ClearSendQueue();
    tls_.reset();
    cipherIn_.clear();
    tlsBroken_ = false;
}

void TSocketClient::DecryptReceived()
{
    if (!tls_ || tlsBroken_)
        return;
    try {
        tls_->Decrypt(cipherIn_, received_);
    } catch (const ETlsError&) {
        // The waiting read or send fails on it.
        tlsBroken_ = true;
    }
}

void TSocketClient::ClearSendQueue()
{
    sendQueue_.Clear();
    record_.clear();
    recordSent_ = 0;
    recordData_ = 0;
}

bool TSocketClient::NextOutgoing(const char*& data, size_t& count)
{
    if (!tls_) {
        data = sendQueue_.Front();
        count = sendQueue_.Pending();
        return count > 0;
    }
    if (tlsBroken_)
        return false;
    if (recordSent_ == record_.size() && !sendQueue_.Empty()) {
        recordData_ = std::min(sendQueue_.Pending(), tls_->MaxRecordData());
        try {
            record_ = tls_->Encrypt(sendQueue_.Front(), recordData_);
        } catch (const ETlsError&) {
            tlsBroken_ = true;
            return false;
        }
        recordSent_ = 0;
    }
    data = record_.data() + recordSent_;
    count = record_.size() - recordSent_;
    return count > 0;
}

size_t TSocketClient::Sent(size_t count)
{
    if (!tls_) {
        sendQueue_.Consume(count);
        return count;
    }
    recordSent_ += count;
    if (recordSent_ < record_.size())
        return 0;
    // The queue keeps the plain bytes until their record is gone: a caller's
    // lent memory is read only while it waits.
    const size_t done = recordData_;
    sendQueue_.Consume(done);
    record_.clear();
    recordSent_ = 0;
    recordData_ = 0;
    return done;
}
