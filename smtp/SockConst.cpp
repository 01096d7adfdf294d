#include "smtp/SockConst.h"

#include <iterator>

namespace {

// In the order of TSockStatus.
const TSockStatusText StatusTexts[] = {
    {4, "Sending Buffer"},
    {4, "Request Close Socket"},
    {8, "Create"},
    {8, "Destroy"},
    {8, "Connecting"},
    {8, "Disconnecting"},
    {8, "Canceling"},
    {8, "Write"},
    {8, "Writeln"},
    {8, "ReadLn"},
    {8, "Transaction"},
    {8, "SendStream"},
    {8, "SendFile"},
    {8, "Resolve Host"},
    {8, "Timer On"},
    {8, "Timer Off"},
    {8, "Timer Triggered"},
    {8, "Initializing Winsock"},
    {8, "ReadToStream"},
    {8, "WriteFromStream"},
    {8, "Looking Up Error Message"},
    {16, "Checking Error In Error Manager"},
};
static_assert(std::size(StatusTexts) == static_cast<size_t>(TSockStatus::CheckingErrorInErrorManager) + 1,
              "one text per status");

struct TErrorText {
    int Code;
    const char* Description;
};

const TErrorText ErrorTexts[] = {
    {10004, "Interrupted system call"},
    {10009, "Bad file number"},
    {10013, "Permission denied"},
    {10014, "Bad address"},
    {10022, "Invalid argument"},
    {10024, "Too many open files"},
    {10035, "Operation would block"},
    {10036, "Operation now in progress"},
    {10037, "Operation already in progress"},
    {10038, "Socket operation on non-socket"},
    {10039, "Destination address required"},
    {10040, "Message too long"},
    {10041, "Wrong protocol type for socket"},
    {10042, "Bad protocol option"},
    {10043, "Protocol not supported"},
    {10044, "Socket type not supported"},
    {10045, "Operation not supported on socket"},
    {10046, "Protocol family not supported"},
    {10047, "Address family not supported by protocol family"},
    {10048, "Address already in use"},
    {10049, "Can't assign requested address"},
    {10050, "Network is down"},
    {10051, "Network is unreachable"},
    {10052, "Network dropped connection or reset"},
    {10053, "Software caused connection abort"},
    {10054, "Connection reset by peer"},
    {10055, "No buffer space available"},
    {10056, "Socket is already connected"},
    {10057, "Socket is not connected"},
    {10058, "Can't send after socket shutdown"},
    {10059, "Too many references, can't splice"},
    {10060, "Connection timed out"},
    {10061, "Connection refused"},
    {10062, "Too many levels of symbolic links"},
    {10063, "File name too long"},
    {10064, "Host is down"},
    {10065, "No route to Host"},
    {10066, "Directory not empty"},
    {10067, "Too many processes"},
    {10068, "Too many users"},
    {10069, "Disc quota exceeded"},
    {10070, "Stale NFS file handle"},
    {10071, "Too many levels of remote in path"},
    {10091, "Network subsystem is unavailable"},
    {10092, "Incompatible version of WINSOCK.DLL"},
    {10093, "Successful WSAStartup not yet performed"},
    {11001, "Host not found"},
    {11002, "Non-Authoritative Host not found"},
    {11003, "Non-Recoverable error: FORMERR, REFUSED, NOTIMP"},
    {11004, "Valid name, no data record of requested type"},
};

} // namespace

const TSockStatusText& SockStatusText(TSockStatus status) { return StatusTexts[static_cast<size_t>(status)]; }

namespace SockText {
const char* const AlreadyConnected = "Already connected";
const char* const NullRemoteAddress = "Null Remote Address";
const char* const HostLookupTimedOut = "Host Lookup Timed Out";
const char* const HostLookupCanceled = "Host Lookup Canceled";
const char* const HostLookupFailed = "Host Lookup Failed";
const char* const ConnectionTimedOut = "Connection Timed out";
const char* const ConnectionCanceled = "Connection Canceled";
const char* const ConnectionFailed = "Connection Failed";
const char* const InitFailed = "Initializaton of windows sockets failed";
const char* const SendAborted = "Socket send aborted";
const char* const ReadLnAborted = "Socket readln aborted";
const char* const NotConnected = "Not Connected";
const char* const NoTimer = "No Timer";
const char* const InvalidPort = "Invalid port number";
const char* const ReadLnTimedOut = "Socket readln timed out";
const char* const SendTimedOut = "Socket send timed out";
const char* const ConnectionClosed = "Connection closed by the server";
const char* const LineTooLong = "Reply line too long";
const char* const RangeError = "Range check error";
const char* const HandshakeTimedOut = "TLS handshake timed out";
const char* const DataBeforeHandshake = "The server sent data before the TLS handshake";
const char* const SecureChannelBroken = "The TLS session broke off";
}

std::string SockErrorText(int code)
{
    for (const auto& entry : ErrorTexts)
        if (entry.Code == code)
            return std::to_string(code) + ":" + entry.Description;
    return "Unknown Error No. " + std::to_string(code);
}
