#include "platform/FileHandle.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace platform {

FileHandle::~FileHandle() {
    close();
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.release();
    }
    return *this;
}

int FileHandle::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

int FileHandle::close() {
    if (fd_ < 0)
        return 0;
    const int result = ::close(release());
    return result == 0 ? 0 : errno;
}

int WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

int CopyContents(int from, int to) {
    std::vector<char> block(FileBlockSize);
    for (;;) {
        const ssize_t got = ::read(from, block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        if (const int error = WriteAll(to, block.data(), static_cast<std::size_t>(got)))
            return error;
    }
}

} // namespace platform
