#pragma once

#include "ftp/IdFTP.h"

#include <string>
#include <vector>

// Records what a client reports through its events, in order.
struct ClientEvents {
    struct Status {
        ftp::TIdComponent* sender;
        ftp::TIdStatus status;
        std::string text;
    };
    std::vector<Status> statuses;
    // "begin 0", "work 32768", "end" ... with the mode left out (always read here).
    std::vector<std::string> work;
    std::vector<ftp::TIdComponent*> workSenders;

    void Attach(ftp::TIdFTP& client);
    std::vector<std::string> StatusTexts() const;
    void Clear();
};

// A client for a loopback server, with the scripted server's account.
void PointAt(ftp::TIdFTP& client, std::uint16_t port);
