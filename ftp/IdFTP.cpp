#include "ftp/IdFTP.h"

#include "base/StrUtils.h"
#include "ftp/IdException.h"
#include "ftp/IdSimpleServer.h"
#include "ftp/IdText.h"
#include "platform/Files.h"
#include "platform/Path.h"
#include "platform/TextFile.h"

namespace ftp {

std::string PortCommand(const std::string& ip, std::uint16_t port) {
    std::string text = "PORT ";
    for (const std::string& part : base::SplitString(ip, '.'))
        text += part + ",";
    return text + std::to_string(port / 256) + "," + std::to_string(port % 256);
}

std::pair<std::string, int> ParsePassiveReply(const std::string& line) {
    std::string text = base::Trim(line);
    const std::size_t open = text.find('(');
    const std::size_t close = text.find(')');
    if (open != std::string::npos && close != std::string::npos)
        text = close > open ? text.substr(open + 1, close - open - 1) : std::string();
    else if (const std::size_t blank = text.rfind(' '); blank != std::string::npos)
        text = text.substr(blank + 1);
    std::vector<std::string> parts = base::SplitString(text, ',');
    parts.resize(std::max<std::size_t>(parts.size(), 6));
    const std::string address = parts[0] + "." + parts[1] + "." + parts[2] + "." + parts[3];
    const int high = base::StrToInt(parts[4]);
    const int low = base::StrToInt(parts[5]);
    // Bytes beyond 255 would wrap into another port.
    if (high < 0 || high > 255 || low < 0 || low > 255 || high * 256 + low == 0)
        throw EIdInvalidPassivePort(parts[4] + "," + parts[5]);
    return {address, high * 256 + low};
}

std::int64_t AnnouncedByteCount(const std::string& text) {
    const std::size_t open = text.rfind('(');
    if (open == std::string::npos)
        return -1;
    const std::size_t blank = text.find(' ', open);
    if (blank == std::string::npos || !base::SameText(text.substr(blank, 7), " bytes)"))
        return -1;
    const std::optional<std::int64_t> count = ToInt64(text.substr(open + 1, blank - open - 1));
    return count && *count >= 0 ? *count : -1;
}

TIdFTP::TIdFTP() {
    Port = 21;
}

TIdFTP::~TIdFTP() = default;

void TIdFTP::OpenSession(bool autoLogin, int timeoutMs) {
    try {
        Connect(timeoutMs);
        CheckReplyCode(ReadReply(), {220});
        GreetingReply = LastReply;
        if (!autoLogin)
            return;
        LogIn();
        if (OnAfterClientLogin)
            OnAfterClientLogin(this);
        sendTransferTypeCommand();
        if (SendCommand("SYST", {200, 215, 500}) == 500)
            SystemDescription = "Unknown";
        else
            SystemDescription = LastReply.FirstLine();
        ReportStatus(ftpReady, "Connection established");
    } catch (...) {
        CloseSession();
        throw;
    }
}

void TIdFTP::LogIn() {
    if (SendCommand("USER " + Username, {230, 331}) == 331)
        SendCommand("PASS " + Password, {230});
    LoginReply = LastReply;
}

void TIdFTP::sendTransferTypeCommand() {
    SendCommand(transferType_ == ftASCII ? "TYPE A" : "TYPE I", {200});
}

void TIdFTP::TransferType(TIdFTPTransferType value) {
    if (value == transferType_)
        return;
    transferType_ = value;
    if (!dataConnection_ && Connected())
        sendTransferTypeCommand();
}

void TIdFTP::ChangeDirectory(const std::string& directory) {
    SendCommand("CWD " + directory, {200, 250});
}

std::int64_t TIdFTP::RemoteFileSize(const std::string& fileName) {
    std::int64_t size = -1;
    if (SendCommand("SIZE " + fileName, {}) == 213) {
        std::string text = base::Trim(LastReply.FormattedText());
        if (const std::size_t blank = text.find(' '); blank != std::string::npos)
            text.erase(0, blank + 1);
        size = ToInt64(text).value_or(-1);
    }
    return size;
}

void TIdFTP::ListDirectory(std::vector<std::string>* destination, const std::string& specifier, bool detailed) {
    TLinesStream text(MaxListingBytes);
    transferData(base::Trim((detailed ? "LIST " : "NLST ") + specifier), text, false);
    // A listing the server cut off would silently lack entries.
    checkNotAborted();
    listItems_.reset();
    ListLines = text.TakeLines();
    if (destination != nullptr)
        *destination = ListLines;
}

TIdFTPListItems& TIdFTP::ListingItems() {
    if (!listItems_) {
        listItems_ = std::make_unique<TIdFTPListItems>();
        if (!ListLines.empty()) {
            listItems_->DetectedFormat = DetectListFormat(ListLines.front(), true);
            listItems_->LoadListing(ListLines);
        }
    }
    return *listItems_;
}

void TIdFTP::Download(const std::string& remoteName, const std::string& localPath, bool canOverwrite, bool resume,
                      std::int64_t knownSize) {
    CheckCommandText(retrCommand(remoteName));
    if (platform::FileExists(localPath)) {
        const bool effectiveResume = resume && ProbeResume();
        if (!canOverwrite && effectiveResume) {
            TFileAppendStream existing(platform::NativePath(localPath));
            DownloadToStream(remoteName, existing, true, knownSize);
            existing.Close();
            checkNotAborted();
            return;
        }
        if (!canOverwrite || effectiveResume)
            throw EIdFTPFileAlreadyExists();
    }
    platform::WriteFileAtomically(localPath, [&](platform::OutputFile& file) {
        TOutputFileStream stream(file);
        DownloadToStream(remoteName, stream, resume, knownSize);
        checkNotAborted();
    });
}

void TIdFTP::checkNotAborted() const {
    if (abortedReply_)
        throw EIdProtocolReplyError(abortedReply_->NumericCode, abortedReply_->FormattedText());
}

void TIdFTP::DownloadToStream(const std::string& remoteName, TStream& stream, bool resume, std::int64_t knownSize) {
    const bool effectiveResume = resume && ProbeResume();
    const std::int64_t start = stream.Position();
    transferData(retrCommand(remoteName), stream, effectiveResume);
    if (abortedReply_)
        return;
    // A resumed transfer's 150 reply may count the whole file or the rest:
    // only the known size tells what the rest must be.
    std::int64_t announced = effectiveResume ? -1 : AnnouncedByteCount(preliminaryReply_.FirstLine());
    if (announced < 0 && knownSize >= 0)
        announced = effectiveResume ? knownSize - start : knownSize;
    const std::int64_t received = stream.Position() - start;
    if (announced >= 0 && received != announced)
        throw EIdTransferSizeMismatch(received, announced);
}

bool TIdFTP::ProbeResume() {
    if (!resumeTested_) {
        resumeSupported_ = SendCommand("REST 1", {}) == 350;
        SendCommand("REST 0", {});
        resumeTested_ = true;
    }
    return resumeSupported_;
}

void TIdFTP::AbortTransfer() {
    if (Connected())
        WriteLine("ABOR");
    if (dataConnection_)
        dataConnection_->CloseSession();
}

void TIdFTP::copyDataHandlers(TIdTCPConnection& connection) const {
    connection.SendBufferSize = SendBufferSize;
    connection.RecvBufferSize = RecvBufferSize;
    connection.OnWork = OnWork;
    connection.OnWorkBegin = OnWorkBegin;
    connection.OnWorkEnd = OnWorkEnd;
    connection.OnIdle = OnIdle;
    connection.ReadTimeout = ReadTimeout;
    connection.ReadSubject = "data";
    connection.FollowAbortOf(*this);
}

void TIdFTP::sendRestart(const TStream& stream) {
    SendCommand("REST " + std::to_string(stream.Position()), {350});
}

std::string TIdFTP::retrCommand(const std::string& remoteName) {
    return "RETR " + remoteName;
}

void TIdFTP::transferData(const std::string& command, TStream& stream, bool resume) {
    // Refused before PORT or PASV go out: nothing of the transfer is sent.
    CheckCommandText(command);
    abortedReply_.reset();
    preliminaryReply_.Clear();
    finalReplyPending_ = false;
    ReportStatus(ftpTransfer, "Starting FTP transfer");
    try {
        if (Passive)
            receivePassive(command, stream, resume);
        else
            receiveActive(command, stream, resume);
    } catch (...) {
        dataConnection_.reset();
        // The server may still connect to that port late: the next transfer
        // listens on another.
        lastDataPort_ = 0;
        ReportStatus(ftpReady, "Transfer complete");
        settleAfterFailure();
        throw;
    }
    dataConnection_.reset();
    ReportStatus(ftpReady, "Transfer complete");
    const int code = CheckReplyCode(ReadReply(), {225, 226, 250, 426, 450});
    if (code == 426 || code == 450) {
        abortedReply_ = LastReply;
        CheckReplyCode(ReadReply(), {226, 225});
        ReportStatus(ftpAborted, "Transfer aborted");
    }
}

void TIdFTP::settleAfterFailure() {
    if (AbortRequested()) {
        CloseSession();
        return;
    }
    if (!finalReplyPending_)
        return;
    try {
        ReadReply();
    } catch (const EIdException&) {
        CloseSession();
    }
}

void TIdFTP::sendTransferCommand(const std::string& command) {
    SendCommand(command, {125, 150, 154});
    finalReplyPending_ = true;
    preliminaryReply_ = LastReply;
}

void TIdFTP::receiveActive(const std::string& command, TStream& stream, bool resume) {
    auto owned = std::make_unique<TIdSimpleServer>();
    TIdSimpleServer& server = *owned;
    dataConnection_ = std::move(owned);
    copyDataHandlers(server);
    server.BoundIP = IOHandler() ? IOHandler()->Binding().IP : std::string();
    server.AllowedPeerIP = IOHandler() ? IOHandler()->Binding().PeerIP : std::string();
    // The port of the last transfer again: the system's search for a free
    // port slows down with every connection the server left waiting to
    // close, so that thousands of files in a row would cost the square of
    // their number. A port that is still taken gives way to a fresh one.
    server.BoundPort = lastDataPort_;
    try {
        server.BeginListen();
    } catch (const EIdCouldNotBindSocket&) {
        server.BoundPort = 0;
        server.BeginListen();
    }
    lastDataPort_ = server.ListeningPort();
    SendCommand(PortCommand(server.BoundIP, server.ListeningPort()), {200});
    if (resume)
        sendRestart(stream);
    sendTransferCommand(command);
    server.Listen();
    server.ReadUntilClosed(stream);
}

void TIdFTP::receivePassive(const std::string& command, TStream& stream, bool resume) {
    SendCommand("PASV", {227});
    const int port = ParsePassiveReply(LastReply.FirstLine()).second;
    auto owned = std::make_unique<TIdTCPClient>();
    TIdTCPClient& client = *owned;
    dataConnection_ = std::move(owned);
    copyDataHandlers(client);
    // The address in the reply is ignored: the data connection goes to the
    // server the control connection reached, never to a host it names.
    client.Host = IOHandler() ? IOHandler()->Binding().PeerIP : Host;
    client.Port = port;
    client.Connect();
    if (resume)
        sendRestart(stream);
    sendTransferCommand(command);
    client.ReadUntilClosed(stream);
}

} // namespace ftp
