#pragma once

#include "platform/TextFile.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace ftp {

// A destination for received bytes, written at its current position.
class TStream {
public:
    virtual ~TStream() = default;
    virtual void Write(const char* data, std::size_t count) = 0;
    virtual std::int64_t Position() const = 0;
    virtual std::int64_t Size() const = 0;
    // Drops everything after the current position.
    virtual void Truncate() = 0;
};

class TMemoryStream : public TStream {
public:
    void Write(const char* data, std::size_t count) override;
    std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
    std::int64_t Size() const override { return static_cast<std::int64_t>(data_.size()); }
    void Truncate() override { data_.resize(position_); }
    void Seek(std::size_t position) { position_ = position; }

    const std::string& DataString() const { return data_; }

private:
    std::string data_;
    std::size_t position_ = 0;
};

// Bytes appended to a file being written: a stream's end is always its
// position, so there is never anything to cut.
class TAppendStream : public TStream {
public:
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override { return position_; }
    void Truncate() override {}

protected:
    explicit TAppendStream(std::int64_t start) : position_(start) {}
    void Advance(std::size_t count) { position_ += static_cast<std::int64_t>(count); }

private:
    std::int64_t position_;
};

// Received text taken apart into lines as it arrives, at CR LF, a lone LF and
// a lone CR, so that the text as a whole is never held. Raises
// EIdListingTooLarge once more than limit bytes were written.
class TLinesStream : public TAppendStream {
public:
    explicit TLinesStream(std::int64_t limit) : TAppendStream(0), limit_(limit) {}
    void Write(const char* data, std::size_t count) override;
    // The lines received, the last one even without a line end.
    std::vector<std::string> TakeLines();

private:
    std::int64_t limit_;
    std::vector<std::string> lines_;
    std::string partial_;
    bool afterCR_ = false; // an LF right now belongs to the CR before it
};

// An existing file written on from its end (a resumed download). Failures
// raise base::Exception with the file's name and the system's text for the
// reason (platform::EFOpenError when the file cannot be opened).
class TFileAppendStream : public TAppendStream {
public:
    explicit TFileAppendStream(const std::filesystem::path& path);
    ~TFileAppendStream() override;
    TFileAppendStream(const TFileAppendStream&) = delete;
    TFileAppendStream& operator=(const TFileAppendStream&) = delete;

    void Write(const char* data, std::size_t count) override;
    // Writes out what is buffered and closes the file.
    void Close();

private:
    [[noreturn]] void failWrite() const;

    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
};

// A stream over a file that the platform layer is writing.
class TOutputFileStream : public TAppendStream {
public:
    explicit TOutputFileStream(platform::OutputFile& file) : TAppendStream(0), file_(file) {}
    void Write(const char* data, std::size_t count) override;

private:
    platform::OutputFile& file_;
};

} // namespace ftp
