#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace ftp {

class TIdComponent;

enum TIdStatus {
    hsResolving,
    hsConnecting,
    hsConnected,
    hsDisconnecting,
    hsDisconnected,
    hsStatusText,
    ftpTransfer,
    ftpReady,
    ftpAborted,
};

enum TWorkMode { wmRead, wmWrite };

using TIdStatusEvent = std::function<void(TIdComponent* sender, TIdStatus status, const std::string& statusText)>;
using TWorkBeginEvent = std::function<void(TIdComponent* sender, TWorkMode mode, std::int64_t workCountMax)>;
using TWorkEvent = std::function<void(TIdComponent* sender, TWorkMode mode, std::int64_t workCount)>;
using TWorkEndEvent = std::function<void(TIdComponent* sender, TWorkMode mode)>;
using TNotifyEvent = std::function<void(TIdComponent* sender)>;

// The status text for a status value, formatted with its argument (ignored by
// the statuses whose text has no place for it).
std::string StatusText(TIdStatus status, const std::string& argument);

// Base of every client object: status reports and work (progress) scopes.
class TIdComponent {
public:
    virtual ~TIdComponent() = default;

    TIdStatusEvent OnStatus;
    TWorkBeginEvent OnWorkBegin;
    TWorkEvent OnWork;
    TWorkEndEvent OnWorkEnd;

    // Formats the status text and hands it to OnStatus, if assigned.
    void ReportStatus(TIdStatus status, const std::string& argument = {});

    // Work scopes nest; only the outermost raises OnWorkBegin and OnWorkEnd,
    // and work is counted only while a scope is open.
    void StartWork(TWorkMode mode, std::int64_t workCountMax);
    void AddWork(TWorkMode mode, std::int64_t count);
    void FinishWork(TWorkMode mode);

private:
    struct WorkState {
        int level = 0;
        std::int64_t max = 0;
        std::int64_t count = 0;
    };
    WorkState work_[2];
};

} // namespace ftp
