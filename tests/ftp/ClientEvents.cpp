#include "tests/ftp/ClientEvents.h"

using namespace ftp;

void ClientEvents::Attach(TIdFTP& client) {
    client.OnStatus = [this](TIdComponent* sender, TIdStatus status, const std::string& text) {
        statuses.push_back({sender, status, text});
    };
    client.OnWorkBegin = [this](TIdComponent* sender, TWorkMode mode, std::int64_t max) {
        work.push_back(std::string(mode == wmRead ? "" : "write ") + "begin " + std::to_string(max));
        workSenders.push_back(sender);
    };
    client.OnWork = [this](TIdComponent* sender, TWorkMode mode, std::int64_t count) {
        work.push_back(std::string(mode == wmRead ? "" : "write ") + "work " + std::to_string(count));
        workSenders.push_back(sender);
    };
    client.OnWorkEnd = [this](TIdComponent* sender, TWorkMode mode) {
        work.push_back(std::string(mode == wmRead ? "" : "write ") + "end");
        workSenders.push_back(sender);
    };
}

std::vector<std::string> ClientEvents::StatusTexts() const {
    std::vector<std::string> texts;
    for (const Status& entry : statuses)
        texts.push_back(entry.text);
    return texts;
}

void ClientEvents::Clear() {
    statuses.clear();
    work.clear();
    workSenders.clear();
}

void PointAt(TIdFTP& client, std::uint16_t port) {
    client.Host = "127.0.0.1";
    client.Port = port;
    client.Username = "user";
    client.Password = "pw";
}
