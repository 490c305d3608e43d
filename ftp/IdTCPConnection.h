#pragma once

#include "ftp/IdComponent.h"
#include "ftp/IdException.h"
#include "ftp/IdIOHandlerSocket.h"
#include "ftp/IdRFCReply.h"
#include "ftp/IdStreams.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace ftp {

enum TIdMaxLineAction { maException, maSplit };

// Bounds of one server reply.
constexpr std::size_t MaxReplyLines = 1000;
constexpr std::size_t MaxReplyBytes = 1 << 20;

// The limit of a wait on a socket when ReadTimeout is 0 (ms).
constexpr int DefaultReadTimeout = 60000;

// Received bytes not yet consumed. Bytes are appended at the tail and taken
// from the head; the storage is reused, so it stays as small as the largest
// amount ever held.
class TIdBuffer {
public:
    std::size_t Size() const { return end_ - start_; }
    const char* Data() const { return storage_.data() + start_; }
    // Room for count more bytes at the tail; Commit tells how many were put there.
    char* Reserve(std::size_t count);
    void Commit(std::size_t count) { end_ += count; }
    void Remove(std::size_t count);
    void Clear() { start_ = end_ = 0; }

private:
    std::vector<char> storage_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
};

// A TCP connection: the socket handler, the receive buffer, line and reply
// reading, command writing and the copy of a stream until the peer closes.
// Failures raise the EId exceptions.
class TIdTCPConnection : public TIdComponent {
public:
    ~TIdTCPConnection() override;

    int MaxLineLength = 16384;
    TIdMaxLineAction MaxLineAction = maException;
    // Longest wait on the socket without a byte (ms): connecting, accepting and
    // every read. 0 stands for DefaultReadTimeout, a negative value for no limit.
    int ReadTimeout = 0;
    // Called at least every IdleInterval ms while the connection waits on its socket.
    std::function<void()> OnIdle;
    // What a read waits for, named by a read time-out: "reply" or "data".
    std::string ReadSubject = "reply";
    int RecvBufferSize = 32768;
    int SendBufferSize = 32768;
    TNotifyEvent OnConnected;
    TNotifyEvent OnDisconnected;

    TIdRFCReply LastReply;

    // Notices a close by the peer (reporting it), then tells whether a socket is open.
    bool Connected();
    // Reports "Disconnecting.", closes the socket, frees the socket handler,
    // raises OnDisconnected and reports "Disconnected.". Sends nothing.
    void CloseSession();

    // Sends text and CR LF in one write. Throws EIdLineBreakInCommand (sending
    // nothing) for a text holding CR or LF, EIdNotConnected, EIdSocketError,
    // EIdConnClosedGracefully.
    void WriteLine(const std::string& text);
    // Throws EIdLineBreakInCommand for a command text holding CR or LF.
    static void CheckCommandText(const std::string& text);
    // Reads one (possibly multi-line) reply into LastReply; returns its code.
    // Blank lines are skipped. A reply of more than MaxReplyLines lines or
    // MaxReplyBytes bytes raises EIdReplyTooLarge and closes the socket.
    int ReadReply();
    std::string ReadTextLine();
    // Returns code when allowed (any code when allowed is empty); throws
    // EIdProtocolReplyError with LastReply's text otherwise.
    int CheckReplyCode(int code, std::initializer_list<int> allowed) const;
    int SendCommand(const std::string& text, std::initializer_list<int> allowed);

    // Copies everything received until the peer closes into stream, in blocks
    // of RecvBufferSize bytes, raising one work event per full block.
    void ReadUntilClosed(TStream& stream);

    TIdIOHandlerSocket* IOHandler() { return ioHandler_.get(); }
    // Puts bytes behind those received, as if they came from the peer: replays
    // recorded traffic to the readers without a socket.
    void AppendReceived(const char* data, std::size_t size);

    // Asks the connection to stop: after the next OnIdle call or work event
    // its socket closes and EIdAborted is raised. Cleared by the next connect.
    void RequestAbort() { abortRequested_ = true; }
    // Makes this connection stop on an abort asked of owner (the data
    // connection of owner's transfer); owner must outlive it.
    void FollowAbortOf(const TIdTCPConnection& owner) { abortFlag_ = owner.abortFlag_; }
    bool AbortRequested() const { return *abortFlag_; }

protected:
    void ClearAbortRequest() { abortRequested_ = false; }
    // The limit of one wait: ReadTimeout with 0 read as DefaultReadTimeout.
    int WaitLimit() const { return ReadTimeout == 0 ? DefaultReadTimeout : ReadTimeout; }
    // Waits within limitMs in slices, calling OnIdle between them and then
    // checking for an abort.
    TIdWaiter Waiter(int limitMs);
    // Closes the socket and raises EIdAborted when an abort was asked.
    void CheckAbort();
    // Installs a fresh socket handler and forgets what the previous one left.
    TIdIOHandlerSocket& OpenIOHandler(std::unique_ptr<TIdIOHandlerSocket> handler);
    // Closes the socket, if open, without any report.
    void CloseSocket();

private:
    bool socketOpen() const { return ioHandler_ && ioHandler_->Connected(); }
    void checkForDisconnect(bool raise, bool ignoreBuffer);
    void receiveMore();
    void removeCounted(std::size_t count);
    // The next non-blank line of a reply, trimmed; bytesLeft is what the
    // reply may still take.
    std::string readReplyLine(std::size_t& bytesLeft);
    [[noreturn]] void failReply(const EIdException& error);

    std::unique_ptr<TIdIOHandlerSocket> ioHandler_;
    TIdBuffer buffer_;
    std::size_t searched_ = 0; // bytes of buffer_ already searched for a line end
    bool peerClosed_ = false;
    bool abortRequested_ = false;
    const bool* abortFlag_ = &abortRequested_;
};

} // namespace ftp
