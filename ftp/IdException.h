#pragma once

#include "base/Exception.h"

#include <cstdint>
#include <string>

// The FTP client's exception family. Each class carries the message the
// operator sees; the fixed texts are part of the client's behaviour.
namespace ftp {

class EIdException : public base::Exception {
public:
    using base::Exception::Exception;
};

class EIdSilentException : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdConnClosedGracefully : public EIdSilentException {
public:
    EIdConnClosedGracefully() : EIdSilentException("Connection Closed Gracefully.") {}
};

// A reply code outside the allowed set; the message is the reply's text.
class EIdProtocolReplyError : public EIdException {
public:
    EIdProtocolReplyError(int replyErrorCode, const std::string& message)
        : EIdException(message), replyErrorCode_(replyErrorCode) {}
    int ReplyErrorCode() const { return replyErrorCode_; }

private:
    int replyErrorCode_;
};

// A failed socket call, with its Winsock error number.
class EIdSocketError : public EIdException {
public:
    explicit EIdSocketError(int lastError);
    int LastError() const { return lastError_; }

private:
    int lastError_;
};

class EIdAlreadyConnected : public EIdException {
public:
    EIdAlreadyConnected() : EIdException("Already connected.") {}
};

class EIdClosedSocket : public EIdException {
public:
    EIdClosedSocket() : EIdException("Disconnected.") {}
};

// A wait on a socket that got no byte within the limit; the second line names
// what was awaited ("reply" or "data") and the limit.
class EIdReadTimeout : public EIdException {
public:
    EIdReadTimeout(const std::string& subject, int limitMs);
};

// A server reply beyond the client's bounds of lines or bytes.
class EIdReplyTooLarge : public EIdException {
public:
    using EIdException::EIdException;
};

// A PASV reply whose port bytes name no port from 1 to 65535.
class EIdInvalidPassivePort : public EIdException {
public:
    explicit EIdInvalidPassivePort(const std::string& bytes)
        : EIdException("Invalid port \"" + bytes + "\" in the server's passive mode reply.") {}
};

// A command whose text holds CR or LF; nothing of it is sent.
class EIdLineBreakInCommand : public EIdException {
public:
    EIdLineBreakInCommand() : EIdException("A command to the server may not hold a line break (CR or LF).") {}
};

// A download whose byte count differs from the size the server announced.
class EIdTransferSizeMismatch : public EIdException {
public:
    EIdTransferSizeMismatch(std::int64_t received, std::int64_t announced)
        : EIdException("Incomplete transfer: " + std::to_string(received) + " bytes received, the server announced " +
                       std::to_string(announced) + ".") {}
};

// A directory listing longer than the client takes (64 MiB of text).
class EIdListingTooLarge : public EIdException {
public:
    EIdListingTooLarge() : EIdException("The directory listing is longer than 64 MiB.") {}
};

// The caller asked the client to stop (RequestAbort); its connections are closed.
class EIdAborted : public base::EAbort {
public:
    EIdAborted() : base::EAbort("Operation aborted.") {}
};

class EIdReadLnMaxLineLengthExceeded : public EIdException {
public:
    EIdReadLnMaxLineLengthExceeded() : EIdException("Max line length exceeded.") {}
};

class EIdConnectTimeout : public EIdException {
public:
    EIdConnectTimeout() : EIdException("Connect timed out.") {}
};

class EIdConnectException : public EIdException {
public:
    using EIdException::EIdException;
};

// The server did not open the data connection of an active-mode transfer in time.
class EIdAcceptTimeout : public EIdException {
public:
    EIdAcceptTimeout() : EIdException("Accept timed out.") {}
};

class EIdInvalidSocket : public EIdException {
public:
    EIdInvalidSocket() : EIdException("Cannot allocate socket.") {}
};

class EIdSocketHandleError : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdCouldNotBindSocket : public EIdSocketHandleError {
public:
    EIdCouldNotBindSocket() : EIdSocketHandleError("Could not bind socket. Address and port are already in use.") {}
};

class EIdTCPConnectionError : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdNotConnected : public EIdTCPConnectionError {
public:
    EIdNotConnected() : EIdTCPConnectionError("Not Connected") {}
};

class EIdFTPFileAlreadyExists : public EIdException {
public:
    EIdFTPFileAlreadyExists() : EIdException("Destination file already exists.") {}
};

class EIdInvalidFTPListingFormat : public EIdException {
public:
    EIdInvalidFTPListingFormat() : EIdException("Unknown FTP listing format") {}
};

} // namespace ftp
