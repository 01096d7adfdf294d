// Status and error texts of the socket layer.
#pragma once

#include <string>

// The status messages the socket layer reports, each with its level: a message
// is reported when its level is at most the component's ReportLevel.
enum class TSockStatus {
    SendingBuffer,
    RequestCloseSocket,
    Create,
    Destroy,
    Connecting,
    Disconnecting,
    Canceling,
    Write,
    Writeln,
    ReadLn,
    Transaction,
    SendStream,
    SendFile,
    ResolveHost,
    TimerOn,
    TimerOff,
    TimerTriggered,
    InitializingWinsock,
    ReadToStream,
    WriteFromStream,
    LookingUpErrorMessage,
    CheckingErrorInErrorManager,
};

struct TSockStatusText {
    int Level;
    const char* Text;
};

// Level and text of a status message.
const TSockStatusText& SockStatusText(TSockStatus status);

// Level of the reply lines that Transaction reports.
constexpr int ReplyLineLevel = 1;

// Failure texts of the socket layer.
namespace SockText {
extern const char* const AlreadyConnected;
extern const char* const NullRemoteAddress;
extern const char* const HostLookupTimedOut;
extern const char* const HostLookupCanceled;
extern const char* const HostLookupFailed;
extern const char* const ConnectionTimedOut;
extern const char* const ConnectionCanceled;
extern const char* const ConnectionFailed;
extern const char* const InitFailed;
extern const char* const SendAborted;
extern const char* const ReadLnAborted;
extern const char* const NotConnected;
extern const char* const NoTimer;
extern const char* const InvalidPort;
extern const char* const ReadLnTimedOut;
extern const char* const SendTimedOut;
extern const char* const ConnectionClosed;
extern const char* const LineTooLong;
extern const char* const RangeError;
extern const char* const HandshakeTimedOut;
extern const char* const DataBeforeHandshake;
extern const char* const SecureChannelBroken;
}

// "code:description" for a Winsock error code, "Unknown Error No. code" for
// a code the table does not know.
std::string SockErrorText(int code);
