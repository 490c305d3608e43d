#pragma once

#include "ftp/IdComponent.h"
#include "ftp/IdSocketHandle.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ftp {

// The socket side of an open connection: owns the socket handle and makes the
// client connect, reporting the resolve and connect steps as its own status.
class TIdIOHandlerSocket : public TIdComponent {
public:
    TIdIOHandlerSocket() : binding_(std::make_unique<TIdSocketHandle>()) {}
    explicit TIdIOHandlerSocket(std::unique_ptr<TIdSocketHandle> binding) : binding_(std::move(binding)) {}

    // Allocates and binds the socket, resolves host and connects to it,
    // waiting for the connect through wait (see TIdSocketHandle::Connect).
    void ConnectClient(const std::string& host, std::uint16_t port, const std::string& boundIP, std::uint16_t boundPort,
                       const TIdWaiter& wait, bool refusalAsConnectException);

    TIdSocketHandle& Binding() { return *binding_; }
    bool Connected() const { return binding_->HandleAllocated(); }

private:
    std::unique_ptr<TIdSocketHandle> binding_;
};

} // namespace ftp
