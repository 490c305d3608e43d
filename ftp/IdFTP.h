#pragma once

#include "ftp/IdFTPList.h"
#include "ftp/IdRFCReply.h"
#include "ftp/IdStreams.h"
#include "ftp/IdTCPClient.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ftp {

enum TIdFTPTransferType { ftASCII, ftBinary };

// The FTP client: control connection commands, data transfers in active or
// passive mode and the parsed listing of the last LIST. Every operation blocks
// the caller and raises the EId exceptions on failure.
class TIdFTP : public TIdTCPClient {
public:
    TIdFTP();
    ~TIdFTP() override;

    std::string Username;
    std::string Password;
    bool Passive = false;
    TNotifyEvent OnAfterClientLogin;

    TIdRFCReply GreetingReply;
    TIdRFCReply LoginReply;
    std::string SystemDescription;
    // The text lines of the last LIST or NLST output.
    std::vector<std::string> ListLines;

    // Connects, reads the 220 greeting and (autoLogin) logs in, sends the
    // transfer type and SYST. On any failure the session is closed and the
    // failure propagates.
    void OpenSession(bool autoLogin = true, int timeoutMs = -1);
    bool IsOpen() { return Connected(); }
    void LogIn();

    TIdFTPTransferType TransferType() const { return transferType_; }
    // Sends TYPE only when the value changes while connected and idle.
    void TransferType(TIdFTPTransferType value);

    void ChangeDirectory(const std::string& directory);
    // The size the server reports, -1 when it gives none.
    std::int64_t RemoteFileSize(const std::string& fileName);

    // LIST (detailed) or NLST into ListLines and, when given, destination. A
    // listing the server cut off (426, 450) raises EIdProtocolReplyError with
    // its text, one beyond MaxListingBytes EIdListingTooLarge; either keeps the
    // former lines.
    void ListDirectory(std::vector<std::string>* destination, const std::string& specifier = {}, bool detailed = true);
    // The entries of the last listing, parsed on the first call after it.
    TIdFTPListItems& ListingItems();

    // RETR into localPath (a path as the program writes it, ".\\name" included).
    // A fresh download goes to a file beside the destination that replaces it
    // only once complete; a resumed one appends. knownSize is the size that a
    // listing or SIZE gave for the name, -1 when none did.
    // Throws EIdFTPFileAlreadyExists when the file exists and neither
    // overwriting nor a usable resume applies, and EIdProtocolReplyError with
    // the server's text when the server reports the transfer aborted (426, 450):
    // the bytes received are then incomplete.
    void Download(const std::string& remoteName, const std::string& localPath, bool canOverwrite, bool resume,
                  std::int64_t knownSize = -1);
    // RETR into stream at its current position. When a size was announced (by
    // the "(n bytes)" of the server's 150 reply to a fresh download, the newer
    // word, else by knownSize), a byte count that differs raises
    // EIdTransferSizeMismatch after the final reply.
    void DownloadToStream(const std::string& remoteName, TStream& stream, bool resume, std::int64_t knownSize = -1);
    // Whether the server accepts REST (asked once per component).
    bool ProbeResume();
    // Sends ABOR when connected and closes the data connection.
    void AbortTransfer();

    // The data connection of the running transfer, if any.
    TIdTCPConnection* DataConnection() { return dataConnection_.get(); }

private:
    void sendTransferTypeCommand();
    static std::string retrCommand(const std::string& remoteName);
    void transferData(const std::string& command, TStream& stream, bool resume);
    void receiveActive(const std::string& command, TStream& stream, bool resume);
    void receivePassive(const std::string& command, TStream& stream, bool resume);
    void sendRestart(const TStream& stream);
    // Sends the transfer command; the server's final reply is then due.
    void sendTransferCommand(const std::string& command);
    // After a failed transfer: reads the final reply still due, so that the
    // next command gets its own; closes the session when none comes in time
    // or the caller asked to abort.
    void settleAfterFailure();
    void copyDataHandlers(TIdTCPConnection& connection) const;
    void checkNotAborted() const;

    TIdFTPTransferType transferType_ = ftBinary;
    std::unique_ptr<TIdTCPConnection> dataConnection_;
    std::unique_ptr<TIdFTPListItems> listItems_;
    std::optional<TIdRFCReply> abortedReply_; // of the last transfer, when the server aborted it
    bool finalReplyPending_ = false;          // the transfer command was accepted
    TIdRFCReply preliminaryReply_;            // the 1xx reply of the last transfer command
    // The listening port of the last active-mode transfer; 0 before the first.
    std::uint16_t lastDataPort_ = 0;
    bool resumeTested_ = false;
    bool resumeSupported_ = false;
};

// The most text a directory listing may have.
constexpr std::int64_t MaxListingBytes = std::int64_t{64} << 20;

// The byte count of a transfer reply's "(n bytes)" text; -1 when it has none.
std::int64_t AnnouncedByteCount(const std::string& text);

// The PORT command announcing ip and port.
std::string PortCommand(const std::string& ip, std::uint16_t port);
// The address and port of a PASV reply line; throws base::Exception
// "'x' is not a valid integer value" for a part that is not a number and
// EIdInvalidPassivePort for a port byte beyond 0..255 or port 0.
std::pair<std::string, int> ParsePassiveReply(const std::string& line);

} // namespace ftp
