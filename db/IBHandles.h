#pragma once

#include <ibase.h>

namespace db {

// Releases of client library handles that cannot fail from the caller's point
// of view: each ignores the library's status, so that holders may call them
// from destructors.
void DetachQuietly(FB_API_HANDLE& handle) noexcept;
void RollbackQuietly(FB_API_HANDLE& handle) noexcept;
void DropStatementQuietly(FB_API_HANDLE& handle) noexcept;
void CloseBlobQuietly(FB_API_HANDLE& handle) noexcept;

// Owns one client library handle (0 = none). The library clears a handle when
// an explicit close through ptr() succeeds; whatever is still held when the
// holder goes away is released quietly.
template <void (*Release)(FB_API_HANDLE&) noexcept> class IscHandle {
public:
    IscHandle() = default;
    ~IscHandle() { reset(); }
    IscHandle(const IscHandle&) = delete;
    IscHandle& operator=(const IscHandle&) = delete;

    FB_API_HANDLE* ptr() { return &handle_; }
    bool valid() const { return handle_ != 0; }
    void reset() noexcept {
        if (handle_ != 0)
            Release(handle_);
        handle_ = 0;
    }

private:
    FB_API_HANDLE handle_ = 0;
};

using DatabaseHandle = IscHandle<DetachQuietly>;
using TransactionHandle = IscHandle<RollbackQuietly>;
using StatementHandle = IscHandle<DropStatementQuietly>;
using BlobHandle = IscHandle<CloseBlobQuietly>;

} // namespace db
