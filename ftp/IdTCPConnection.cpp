#include "ftp/IdTCPConnection.h"

#include "base/StrUtils.h"
#include "ftp/IdException.h"

#include <cstdint>
#include <cstring>

namespace ftp {

char* TIdBuffer::Reserve(std::size_t count) {
    if (storage_.size() - end_ < count && start_ > 0) {
        std::memmove(storage_.data(), storage_.data() + start_, Size());
        end_ -= start_;
        start_ = 0;
    }
    if (storage_.size() - end_ < count)
        storage_.resize(end_ + count);
    return storage_.data() + end_;
}

void TIdBuffer::Remove(std::size_t count) {
    start_ += count;
    if (start_ == end_)
        Clear();
}

TIdTCPConnection::~TIdTCPConnection() = default;

TIdIOHandlerSocket& TIdTCPConnection::OpenIOHandler(std::unique_ptr<TIdIOHandlerSocket> handler) {
    ioHandler_ = std::move(handler);
    buffer_.Clear();
    searched_ = 0;
    peerClosed_ = false;
    return *ioHandler_;
}

void TIdTCPConnection::CloseSocket() {
    if (ioHandler_)
        ioHandler_->Binding().CloseSocket();
}

bool TIdTCPConnection::Connected() {
    if (socketOpen() && !peerClosed_) {
        try {
            if (ioHandler_->Binding().Readable(0))
                receiveMore();
        } catch (const EIdException&) {
            // A failing socket counts as closed below.
            CloseSocket();
        }
    }
    checkForDisconnect(false, false);
    return socketOpen();
}

void TIdTCPConnection::CloseSession() {
    ReportStatus(hsDisconnecting);
    peerClosed_ = true;
    CloseSocket();
    ioHandler_.reset();
    if (OnDisconnected)
        OnDisconnected(this);
    ReportStatus(hsDisconnected);
}

void TIdTCPConnection::checkForDisconnect(bool raise, bool ignoreBuffer) {
    const bool disconnected = peerClosed_ || !ioHandler_;
    if (disconnected && socketOpen()) {
        CloseSocket();
        ReportStatus(hsDisconnected);
        if (OnDisconnected)
            OnDisconnected(this);
    }
    if (raise && disconnected && (ignoreBuffer || buffer_.Size() == 0))
        throw EIdConnClosedGracefully();
}

void TIdTCPConnection::receiveMore() {
    if (!ioHandler_)
        throw EIdNotConnected();
    checkForDisconnect(true, true);
    if (!socketOpen())
        throw EIdClosedSocket();
    TIdSocketHandle& binding = ioHandler_->Binding();
    const int limit = WaitLimit();
    if (!Waiter(limit)([&](int sliceMs) { return binding.Readable(sliceMs); })) {
        // Whatever comes later would be taken for the answer to the next command.
        CloseSocket();
        throw EIdReadTimeout(ReadSubject, limit);
    }
    const std::size_t wanted = static_cast<std::size_t>(RecvBufferSize);
    std::size_t received = 0;
    const int error = binding.Recv(buffer_.Reserve(wanted), wanted, received);
    if (error == platform::WSAESHUTDOWN || error == platform::WSAECONNABORTED) {
        binding.CloseSocket();
        if (buffer_.Size() == 0)
            throw EIdSocketError(error);
        return;
    }
    CheckForSocketError(error);
    if (received == 0)
        peerClosed_ = true;
    buffer_.Commit(received);
}

void TIdTCPConnection::CheckCommandText(const std::string& text) {
    // A line break inside an argument (a file name, a password) would end the
    // command there and send the rest as a command of its own.
    if (text.find_first_of("\r\n") != std::string::npos)
        throw EIdLineBreakInCommand();
}

void TIdTCPConnection::WriteLine(const std::string& text) {
    CheckCommandText(text);
    if (!socketOpen())
        throw EIdNotConnected();
    const std::string line = text + "\r\n";
    TIdSocketHandle& binding = ioHandler_->Binding();
    std::size_t done = 0;
    while (done < line.size()) {
        std::size_t sent = 0;
        const int error = binding.Send(line.data() + done, line.size() - done, sent);
        if (error == platform::WSAESHUTDOWN || error == platform::WSAECONNABORTED || error == platform::WSAECONNRESET)
            binding.CloseSocket();
        CheckForSocketError(error);
        if (sent == 0) {
            peerClosed_ = true;
            checkForDisconnect(true, true);
        }
        done += sent;
    }
}

std::string TIdTCPConnection::ReadTextLine() {
    const std::size_t maxLength = static_cast<std::size_t>(MaxLineLength);
    for (;;) {
        const char* data = buffer_.Data();
        const std::size_t unsearched = buffer_.Size() - searched_;
        const auto* end =
            unsearched == 0 ? nullptr : static_cast<const char*>(std::memchr(data + searched_, '\n', unsearched));
        const std::size_t length = end ? static_cast<std::size_t>(end - data) : buffer_.Size();
        // A CR before the LF belongs to the line end, not to the line.
        if (length - (length > 0 && data[length - 1] == '\r' ? 1 : 0) > maxLength) {
            if (MaxLineAction == maException)
                throw EIdReadLnMaxLineLengthExceeded();
            std::string line(data, maxLength);
            buffer_.Remove(maxLength);
            searched_ = 0;
            return line;
        }
        if (end) {
            std::string line(data, length);
            buffer_.Remove(length + 1);
            searched_ = 0;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        searched_ = buffer_.Size();
        receiveMore();
    }
}

std::string TIdTCPConnection::readReplyLine(std::size_t& bytesLeft) {
    std::string line;
    do {
        line = ReadTextLine();
        const std::size_t taken = line.size() + 2; // with its line end
        if (taken > bytesLeft)
            failReply(EIdReplyTooLarge("The server's reply is longer than 1 MiB."));
        bytesLeft -= taken;
        line = base::Trim(line);
    } while (line.empty());
    return line;
}

void TIdTCPConnection::failReply(const EIdException& error) {
    // The rest of the reply would be taken for the answer to the next command.
    CloseSocket();
    throw error;
}

int TIdTCPConnection::ReadReply() {
    std::size_t bytesLeft = MaxReplyBytes;
    std::vector<std::string> lines{readReplyLine(bytesLeft)};
    const std::string& first = lines.front();
    if (first.size() > 3 && first[3] == '-') {
        const std::string endMarker = first.substr(0, 3) + " ";
        for (;;) {
            if (lines.size() == MaxReplyLines)
                failReply(EIdReplyTooLarge("The server's reply has more than 1000 lines."));
            lines.push_back(readReplyLine(bytesLeft));
            const std::string& line = lines.back();
            if (line.size() < 4 || base::StartsText(endMarker, line))
                break;
        }
    }
    ParseReply(lines, LastReply);
    return LastReply.NumericCode;
}

int TIdTCPConnection::CheckReplyCode(int code, std::initializer_list<int> allowed) const {
    if (allowed.size() == 0)
        return code;
    for (int candidate : allowed)
        if (static_cast<std::int16_t>(code) == static_cast<std::int16_t>(candidate))
            return code;
    throw EIdProtocolReplyError(LastReply.NumericCode, LastReply.FormattedText());
}

int TIdTCPConnection::SendCommand(const std::string& text, std::initializer_list<int> allowed) {
    WriteLine(text);
    return CheckReplyCode(ReadReply(), allowed);
}

void TIdTCPConnection::AppendReceived(const char* data, std::size_t size) {
    if (size == 0)
        return;
    std::memcpy(buffer_.Reserve(size), data, size);
    buffer_.Commit(size);
}

void TIdTCPConnection::removeCounted(std::size_t count) {
    buffer_.Remove(count);
    AddWork(wmRead, static_cast<std::int64_t>(count));
    CheckAbort();
}

TIdWaiter TIdTCPConnection::Waiter(int limitMs) {
    return [this, limitMs](const TIdReadyWithin& ready) {
        return WaitInSlices(limitMs, ready, [this] {
            if (OnIdle)
                OnIdle();
            CheckAbort();
        });
    };
}

void TIdTCPConnection::CheckAbort() {
    if (AbortRequested()) {
        CloseSocket();
        throw EIdAborted();
    }
}

void TIdTCPConnection::ReadUntilClosed(TStream& stream) {
    const auto finishWork = [&] {
        FinishWork(wmRead);
        if (stream.Size() > stream.Position())
            stream.Truncate();
    };
    StartWork(wmRead, 0);
    try {
        if (buffer_.Size() > 0) {
            const std::size_t held = buffer_.Size();
            stream.Write(buffer_.Data(), held);
            removeCounted(held);
        }
        const std::size_t block = static_cast<std::size_t>(RecvBufferSize);
        for (;;) {
            while (buffer_.Size() < block && !peerClosed_ && socketOpen())
                receiveMore();
            if (buffer_.Size() < block)
                break;
            stream.Write(buffer_.Data(), block);
            removeCounted(block);
        }
        // The peer closed: the last partial block is kept but not counted as work.
        stream.Write(buffer_.Data(), buffer_.Size());
        buffer_.Clear();
        checkForDisconnect(false, false);
    } catch (...) {
        finishWork();
        throw;
    }
    finishWork();
}

} // namespace ftp
