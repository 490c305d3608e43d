#include "ftp/IdComponent.h"

namespace ftp {

std::string StatusText(TIdStatus status, const std::string& argument) {
    switch (status) {
    case hsResolving:
        return "Resolving hostname " + argument + ".";
    case hsConnecting:
        return "Connecting to " + argument + ".";
    case hsConnected:
        return "Connected.";
    case hsDisconnecting:
        return "Disconnecting.";
    case hsDisconnected:
        return "Disconnected.";
    case hsStatusText:
    case ftpTransfer:
    case ftpReady:
    case ftpAborted:
        break;
    }
    return argument;
}

void TIdComponent::ReportStatus(TIdStatus status, const std::string& argument) {
    if (OnStatus)
        OnStatus(this, status, StatusText(status, argument));
}

void TIdComponent::StartWork(TWorkMode mode, std::int64_t workCountMax) {
    WorkState& state = work_[mode];
    if (++state.level == 1) {
        state.count = 0;
        state.max = workCountMax;
        if (OnWorkBegin)
            OnWorkBegin(this, mode, workCountMax);
    }
}

void TIdComponent::AddWork(TWorkMode mode, std::int64_t count) {
    WorkState& state = work_[mode];
    if (state.level < 1)
        return;
    state.count += count;
    if (OnWork)
        OnWork(this, mode, state.count);
}

void TIdComponent::FinishWork(TWorkMode mode) {
    WorkState& state = work_[mode];
    if (state.level == 1 && OnWorkEnd)
        OnWorkEnd(this, mode);
    --state.level;
}

} // namespace ftp
