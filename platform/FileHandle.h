#pragma once

#include <cstddef>
#include <dirent.h>
#include <memory>

// Owners of open file descriptors and folder streams, closed on every path.
namespace platform {

class FileHandle {
public:
    explicit FileHandle(int fd = -1) : fd_(fd) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept : fd_(other.release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release();
    // Closes now; returns 0 or the errno of a failed close.
    int close();

private:
    int fd_;
};

struct FolderCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using FolderHandle = std::unique_ptr<DIR, FolderCloser>;

// Size of the blocks in which files are read, written and copied.
constexpr std::size_t FileBlockSize = 65536;

// Writes all bytes, retrying short writes; returns 0 or errno.
int WriteAll(int fd, const char* data, std::size_t size);
// Copies everything from one descriptor to another in blocks; returns 0 or errno.
int CopyContents(int from, int to);

} // namespace platform
