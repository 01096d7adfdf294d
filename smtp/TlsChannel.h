// TTlsChannel: the client side of a TLS session through the system's own TLS
// (Schannel, through SSPI). It has no socket of its own: the socket layer
// hands it the bytes received and sends the bytes it makes.
#pragma once

#include "smtp/SocketClient.h"

#define SECURITY_WIN32
#include <security.h>
#include <schannel.h>

#include <string>

// Why a secure connection could not be made.
enum TTlsFailure {
    tfHandshake,  // the handshake failed, timed out or was broken off
    tfUntrusted,  // the certificate does not lead to a trusted root, or is not valid
    tfWrongHost,  // the certificate is made out to another host name
};

class ETlsError : public ESockError {
public:
    ETlsError(TTlsFailure failure, const std::string& text) : ESockError(text), Failure(failure) {}
    TTlsFailure Failure;
};

class TTlsChannel {
public:
    // `serverName` is the host name the certificate must carry; it is also
    // sent to the server in the handshake.
    explicit TTlsChannel(const std::string& serverName);
    ~TTlsChannel();
    TTlsChannel(const TTlsChannel&) = delete;
    TTlsChannel& operator=(const TTlsChannel&) = delete;

    // One step of the handshake. Takes what it can use from the start of
    // `input` (the bytes received so far, the rest stays there) and returns the
    // bytes to send, possibly none. Raises ETlsError when the handshake fails.
    std::string Handshake(std::string& input);
    bool Done() const { return done_; }
    // Checks the server's certificate against the system's trusted roots and
    // the server name; raises ETlsError (Untrusted or WrongHost).
    void VerifyServer() const;

    // The most plain bytes one record carries.
    size_t MaxRecordData() const { return sizes_.cbMaximumMessage; }
    // One record carrying `count` bytes, at most MaxRecordData().
    std::string Encrypt(const char* data, size_t count);
    // Decrypts the whole records at the start of `input`, appends their bytes
    // to `plain` and removes them from `input`; an incomplete record stays.
    // Raises ETlsError on data that is not a valid record.
    void Decrypt(std::string& input, std::string& plain);
    // The server ended the session.
    bool Closed() const { return closed_; }

private:
    std::string serverName_;
    CredHandle credentials_{};
    CtxtHandle context_{};
    bool hasContext_ = false;
    bool done_ = false;
    bool closed_ = false;
    SecPkgContext_StreamSizes sizes_{};
};
