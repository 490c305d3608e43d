#include "ftp/IdStreams.h"

#include "runtime/Exception.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

namespace ftp {

namespace {

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

// A name beside destination that no file has yet.
std::filesystem::path freeTemporaryName(const std::filesystem::path& destination) {
    static std::mt19937 numbers{std::random_device{}()};
    std::filesystem::path candidate;
    do {
        candidate = destination;
        candidate += ".~" + std::to_string(numbers() % 1000000) + ".part";
    } while (std::filesystem::exists(candidate));
    return candidate;
}

} // namespace

void TMemoryStream::Write(const char* data, std::size_t count) {
    if (position_ + count > data_.size())
        data_.resize(position_ + count);
    data_.replace(position_, count, data, count);
    position_ += count;
}

TFileStream::TFileStream(const std::filesystem::path& path, Mode mode) : path_(path) {
    file_ = openFile(path, mode == Create ? "wb" : "ab");
    if (file_ == nullptr)
        fail("Cannot create file");
    if (mode == Append) {
        std::error_code ignored;
        size_ = position_ = static_cast<std::int64_t>(std::filesystem::file_size(path, ignored));
    }
}

TFileStream::TFileStream(const std::filesystem::path& path, CreateNew) : path_(path) {
    file_ = openFile(path, "wbx");
    if (file_ == nullptr)
        fail("Cannot create file");
}

TFileStream::~TFileStream() {
    if (file_ != nullptr)
        std::fclose(file_);
}

void TFileStream::Write(const char* data, std::size_t count) {
    if (std::fwrite(data, 1, count, file_) != count)
        fail("Cannot write file");
    position_ += static_cast<std::int64_t>(count);
    size_ = std::max(size_, position_);
}

void TFileStream::Truncate() {
    if (std::fflush(file_) != 0)
        fail("Cannot write file");
    std::error_code error;
    std::filesystem::resize_file(path_, static_cast<std::uintmax_t>(position_), error);
    if (error) {
        errno = error.value();
        fail("Cannot write file");
    }
    size_ = position_;
}

void TFileStream::Close() {
    std::FILE* file = file_;
    file_ = nullptr;
    if (file != nullptr && std::fclose(file) != 0)
        fail("Cannot write file");
}

void TFileStream::fail(const std::string& what) const {
    throw runtime::Exception(what + " \"" + path_.string() + "\". " + std::strerror(errno));
}

TReplacementFileStream::TReplacementFileStream(const std::filesystem::path& destination)
    : TReplacementFileStream(destination, freeTemporaryName(destination)) {}

TReplacementFileStream::TReplacementFileStream(const std::filesystem::path& destination,
                                               const std::filesystem::path& temporary)
    : TFileStream(temporary, CreateNew{}), destination_(destination), temporary_(temporary) {}

TReplacementFileStream::~TReplacementFileStream() {
    if (committed_)
        return;
    try {
        Close();
    } catch (const runtime::Exception&) {
        // The partial copy is dropped below whatever its state.
    }
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
}

void TReplacementFileStream::Commit() {
    Close();
    std::error_code error;
    const auto former = std::filesystem::status(destination_, error);
    if (!error && std::filesystem::exists(former))
        std::filesystem::permissions(temporary_, former.permissions(), error);
    std::filesystem::rename(temporary_, destination_, error);
    if (error)
        throw runtime::Exception("Cannot create file \"" + destination_.string() + "\". " + error.message());
    committed_ = true;
}

} // namespace ftp
