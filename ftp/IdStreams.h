#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

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

// A file written from its start (created or emptied) or from its end.
// Failures raise runtime::Exception with the file's name and the system's reason.
class TFileStream : public TStream {
public:
    enum Mode { Create, Append };
    TFileStream(const std::filesystem::path& path, Mode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    void Write(const char* data, std::size_t count) override;
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override { return size_; }
    void Truncate() override;
    // Writes out what is buffered and closes the file.
    void Close();

protected:
    struct CreateNew {};
    // Creates the file, failing when it already exists.
    TFileStream(const std::filesystem::path& path, CreateNew);

private:
    [[noreturn]] void fail(const std::string& what) const;

    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::int64_t position_ = 0;
    std::int64_t size_ = 0;
};

// A new file written beside a destination, which takes the destination's place
// only on Commit; dropped without a trace otherwise. A failed download thus
// leaves the former destination untouched.
class TReplacementFileStream : public TFileStream {
public:
    explicit TReplacementFileStream(const std::filesystem::path& destination);
    ~TReplacementFileStream() override;

    void Commit();

private:
    TReplacementFileStream(const std::filesystem::path& destination, const std::filesystem::path& temporary);

    std::filesystem::path destination_;
    std::filesystem::path temporary_;
    bool committed_ = false;
};

} // namespace ftp
