#include "ftp/IdStreams.h"

#include "base/Exception.h"
#include "ftp/IdException.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace ftp {

void TMemoryStream::Write(const char* data, std::size_t count) {
    if (position_ + count > data_.size())
        data_.resize(position_ + count);
    data_.replace(position_, count, data, count);
    position_ += count;
}

void TLinesStream::Write(const char* data, std::size_t count) {
    if (Position() + static_cast<std::int64_t>(count) > limit_)
        throw EIdListingTooLarge();
    Advance(count);
    const char* end = data + count;
    while (data < end) {
        if (afterCR_ && *data == '\n')
            ++data;
        afterCR_ = false;
        const char* lineEnd = std::find_if(data, end, [](char c) { return c == '\r' || c == '\n'; });
        partial_.append(data, lineEnd);
        if (lineEnd == end)
            return;
        lines_.push_back(std::move(partial_));
        partial_.clear();
        afterCR_ = *lineEnd == '\r';
        data = lineEnd + 1;
    }
}

std::vector<std::string> TLinesStream::TakeLines() {
    if (!partial_.empty())
        lines_.push_back(std::move(partial_));
    partial_.clear();
    lines_.shrink_to_fit();
    return std::move(lines_);
}

TFileAppendStream::TFileAppendStream(const std::filesystem::path& path)
    : TAppendStream([&] {
          std::error_code unknown;
          const auto size = std::filesystem::file_size(path, unknown);
          return unknown ? std::int64_t{0} : static_cast<std::int64_t>(size);
      }()),
      path_(path), file_(std::fopen(path.c_str(), "ab")) {
    if (file_ == nullptr)
        throw platform::EFOpenError(path_.string(), platform::ErrorFromErrno(errno));
}

TFileAppendStream::~TFileAppendStream() {
    if (file_ != nullptr)
        std::fclose(file_);
}

void TFileAppendStream::Write(const char* data, std::size_t count) {
    if (std::fwrite(data, 1, count, file_) != count)
        failWrite();
    Advance(count);
}

void TFileAppendStream::Close() {
    std::FILE* file = file_;
    file_ = nullptr;
    if (file != nullptr && std::fclose(file) != 0)
        failWrite();
}

void TFileAppendStream::failWrite() const {
    throw base::Exception("Cannot write file \"" + path_.string() + "\". " +
                          platform::SysErrorMessage(platform::ErrorFromErrno(errno)));
}

void TOutputFileStream::Write(const char* data, std::size_t count) {
    file_.write(data, count);
    Advance(count);
}

} // namespace ftp
