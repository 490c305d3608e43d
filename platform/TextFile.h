#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "platform/FileHandle.h"

// Reading and writing text files. Text is kept as the bytes of the file;
// lines are written with CR LF ends.
namespace platform {

// A file being written, buffered in blocks. Write errors raise EInOutError.
class OutputFile {
public:
    // Creates the file, or empties an existing one; raises EFCreateError.
    static OutputFile Create(const std::string& name);

    OutputFile(OutputFile&&) = default;
    // Writes what is still buffered when close was not called; errors are lost then.
    ~OutputFile();

    void write(const std::string& bytes);
    void write(const char* data, std::size_t size);
    // The line followed by CR LF.
    void writeLine(const std::string& line);
    // Writes what is buffered and closes the file; with sync, waits until the
    // bytes are on the disk.
    void close(bool sync = false);

private:
    friend void WriteFileAtomically(const std::string& name, const std::function<void(OutputFile&)>& writer);
    // A file that will be closed with sync: its written blocks are handed to
    // the disk as they accumulate, so the final wait is short.
    OutputFile(FileHandle file, bool durable) : file_(std::move(file)), durable_(durable) {}
    explicit OutputFile(FileHandle file) : OutputFile(std::move(file), false) {}
    void flush();
    void startWriteback();

    FileHandle file_;
    std::string buffer_;
    bool durable_ = false;
    long long written_ = 0;
    long long handedToDisk_ = 0;
};

// A file that a bounded reader refuses before reading all of it: not a
// regular file (a folder, a device, a FIFO), or larger than the reader takes.
// The message names the file as the caller wrote it.
class EFileRefused : public base::EInOutError {
public:
    using base::EInOutError::EInOutError;
};

// The most a configuration file (the registry file, the alias file) may hold.
constexpr std::size_t ConfigurationFileLimit = 16 * 1024 * 1024;

// Every line of a file, split at CR LF, LF or CR. Raises EFOpenError when the
// file cannot be opened or is not a regular file (a folder, a device, a FIFO),
// and EInOutError when it cannot be read.
std::vector<std::string> ReadLines(const std::string& name);

// The whole of a regular file of at most limit bytes (a whole number of KiB). Raises EFOpenError when
// the file cannot be opened, EFileRefused when it is not a regular file or
// holds more than limit bytes, and EInOutError when it cannot be read.
std::string ReadRegularFile(const std::string& name, std::size_t limit);

// The first line of a regular file (empty for an empty file), reading no
// further than its end. Raises EInOutError when the file cannot be opened or
// read, EFileRefused when it is not a regular file or its first line is longer
// than limit bytes (a whole number of KiB).
std::string ReadFirstLine(const std::string& name, std::size_t limit);

// Writes the lines, each ended by CR LF, into a new or emptied file.
void WriteLines(const std::string& name, const std::vector<std::string>& lines);

// Writes a file so that it is never seen half-written: the writer fills a
// temporary file in the same folder, which then replaces the file in one
// step. When the writer or the write fails the former file stays untouched,
// the temporary file is removed and the error passes on. Temporary files of
// the same name that a killed process left behind are removed.
void WriteFileAtomically(const std::string& name, const std::function<void(OutputFile&)>& writer);
void WriteLinesAtomically(const std::string& name, const std::vector<std::string>& lines);

// How the temporary files of WriteFileAtomically for a file named base (no
// folder) begin: ".~", eight hexadecimal digits of a hash of base and "."; six
// letters or digits follow. The length does not grow with base, so every name
// the folder takes can be written, and the hash ties each temporary file to
// the file it was for.
std::string TemporaryPrefixOf(const std::string& base);

} // namespace platform
