#include "platform/TextFile.h"

#include "base/StrUtils.h"
#include "platform/FileFaults.h"
#include "platform/FolderIndex.h"
#include "platform/Path.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Opening does not wait for a writer of a FIFO; the flag changes nothing for
// the regular files that are then read.
FileHandle openForReading(const std::string& name) {
    return FileHandle(open(NativePath(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
}

// The type and size of an open file; raises EInOutError when they cannot be had.
struct stat statusOf(const FileHandle& file) {
    struct stat info {};
    if (fstat(file.get(), &info) != 0)
        throw base::EInOutError::FromErrno(errno);
    return info;
}

// Only a regular file has an end to read to: a device such as /dev/zero or a
// FIFO may never end.
void refuseUnlessRegular(const FileHandle& file, const std::string& name) {
    if (!S_ISREG(statusOf(file).st_mode))
        throw EFileRefused("Arquivo \"" + name + "\" não é um arquivo comum.");
}

// A limit, a whole number of KiB, as the messages give it: "16 MiB", "64 KiB".
std::string sizeText(std::size_t bytes) {
    constexpr std::size_t KiB = 1024;
    if (bytes % (KiB * KiB) == 0)
        return std::to_string(bytes / (KiB * KiB)) + " MiB";
    return std::to_string(bytes / KiB) + " KiB";
}

[[noreturn]] void refuseAsTooLarge(const std::string& what, std::size_t limit) {
    throw EFileRefused(what + " é maior que " + sizeText(limit) + ".");
}

// Reads one block; raises EInOutError on a read error. 0 at the end of the file.
std::size_t readBlock(const FileHandle& file, std::string& block) {
    block.resize(FileBlockSize);
    for (;;) {
        const ssize_t got = read(file.get(), block.data(), block.size());
        if (got >= 0) {
            block.resize(static_cast<std::size_t>(got));
            return block.size();
        }
        if (errno != EINTR)
            throw base::EInOutError::FromErrno(errno);
    }
}

void writeAllLines(OutputFile& out, const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        out.writeLine(line);
}

// Permissions for a new file: those of the file it replaces, or the usual
// ones for a new file under the process's umask.
mode_t permissionsFor(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The names in folder (a native folder path, empty or ending in "/") that
// begin with prefix; its index answers when one covers it.
std::vector<std::string> namesStartingWith(const std::string& folder, const std::string& prefix) {
    if (const FolderIndex* index = FolderIndex::Of(folder))
        return index->NamesStartingWith(prefix);
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, error)) {
        std::string name = entry.path().filename().string();
        if (name.starts_with(prefix))
            names.push_back(std::move(name));
    }
    return names;
}

// The letters and digits that mkostemp puts in place of its six Xs.
constexpr std::size_t TemporarySuffixLength = 6;

bool isTemporaryOf(const std::string& name, const std::string& base) {
    const std::string prefix = TemporaryPrefixOf(base);
    return name.size() == prefix.size() + TemporarySuffixLength && name.starts_with(prefix) &&
           std::all_of(name.end() - TemporarySuffixLength, name.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

// Removes the temporary files of base that a killed write left in folder. A
// writer holds a lock on its temporary file while it lives; a file nobody
// holds is abandoned. Only regular files are temporary files: a FIFO of that
// name is neither waited on nor removed.
void removeAbandonedTemporaries(const std::string& folder, const std::string& base) {
    for (const std::string& name : namesStartingWith(folder, TemporaryPrefixOf(base))) {
        if (!isTemporaryOf(name, base))
            continue;
        const std::string path = folder + name;
        const FileHandle file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        if (file && S_ISREG(statusOf(file).st_mode) && flock(file.get(), LOCK_EX | LOCK_NB) == 0 &&
            unlink(path.c_str()) == 0)
            NoteRemoved(path);
    }
}

} // namespace

std::string TemporaryPrefixOf(const std::string& base) {
    // FNV-1a, fixed for good: a later build must know the files an earlier one left.
    std::uint32_t hash = 2166136261u;
    for (const unsigned char c : base) {
        hash ^= c;
        hash *= 16777619u;
    }
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(hash));
    return ".~" + std::string(digits) + ".";
}

OutputFile OutputFile::Create(const std::string& name) {
    if (const std::uint32_t code = InjectedFileFault(FileOperation::Write, name))
        throw EFCreateError(name, code);
    const std::string path = NativePath(name);
    FileHandle file(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file)
        throw EFCreateError(name, ErrorFromErrno(errno));
    NoteAdded(path);
    return OutputFile(std::move(file));
}

OutputFile::~OutputFile() {
    if (file_)
        WriteAll(file_.get(), buffer_.data(), buffer_.size());
}

void OutputFile::write(const std::string& bytes) {
    write(bytes.data(), bytes.size());
}

void OutputFile::write(const char* data, std::size_t size) {
    buffer_.append(data, size);
    if (buffer_.size() >= FileBlockSize)
        flush();
}

void OutputFile::writeLine(const std::string& line) {
    write(line);
    write("\r\n");
}

void OutputFile::flush() {
    if (const int error = WriteAll(file_.get(), buffer_.data(), buffer_.size()))
        throw base::EInOutError::FromErrno(error);
    written_ += static_cast<long long>(buffer_.size());
    buffer_.clear();
    if (durable_)
        startWriteback();
}

void OutputFile::startWriteback() {
    // Without this the whole file waits in the page cache until close, and the
    // sync there stalls for as long as the disk needs for all of it. Starting
    // the writeback of every few megabytes as they arrive overlaps it with the
    // transfer. It is only a hint: the sync at close still reports any error.
    constexpr long long WritebackChunk = 8 * 1024 * 1024;
    if (written_ - handedToDisk_ < WritebackChunk)
        return;
    sync_file_range(file_.get(), handedToDisk_, written_ - handedToDisk_, SYNC_FILE_RANGE_WRITE);
    handedToDisk_ = written_;
}

void OutputFile::close(bool sync) {
    flush();
    if (sync && fsync(file_.get()) != 0)
        throw base::EInOutError::FromErrno(errno);
    if (const int error = file_.close())
        throw base::EInOutError::FromErrno(error);
}

std::vector<std::string> ReadLines(const std::string& name) {
    const FileHandle file = openForReading(name);
    if (!file)
        throw EFOpenError(name, ErrorFromErrno(errno));
    const struct stat info = statusOf(file);
    if (!S_ISREG(info.st_mode))
        throw EFOpenError(name, "It is not a regular file.");
    std::string text, block;
    text.reserve(static_cast<std::size_t>(info.st_size));
    while (readBlock(file, block) > 0)
        text += block;
    return base::TextToLines(text);
}

std::string ReadRegularFile(const std::string& name, std::size_t limit) {
    const FileHandle file = openForReading(name);
    if (!file)
        throw EFOpenError(name, ErrorFromErrno(errno));
    refuseUnlessRegular(file, name);
    // The limit is checked on what is read, not on the size the file had when
    // opened: a file that grows meanwhile is refused all the same.
    std::string text, block;
    while (readBlock(file, block) > 0) {
        text += block;
        if (text.size() > limit)
            refuseAsTooLarge("Arquivo \"" + name + "\"", limit);
    }
    return text;
}

std::string ReadFirstLine(const std::string& name, std::size_t limit) {
    const FileHandle file = openForReading(name);
    if (!file)
        throw base::EInOutError::FromErrno(errno);
    refuseUnlessRegular(file, name);
    std::string line, block;
    while (readBlock(file, block) > 0) {
        const auto end = block.find_first_of("\r\n");
        line.append(block, 0, end);
        if (line.size() > limit)
            refuseAsTooLarge("A primeira linha do arquivo \"" + name + "\"", limit);
        if (end != std::string::npos)
            break;
    }
    return line;
}

void WriteLines(const std::string& name, const std::vector<std::string>& lines) {
    OutputFile out = OutputFile::Create(name);
    writeAllLines(out, lines);
    out.close();
}

void WriteFileAtomically(const std::string& name, const std::function<void(OutputFile&)>& writer) {
    if (const std::uint32_t code = InjectedFileFault(FileOperation::Write, name))
        throw EFCreateError(name, code);
    const std::string path = NativePath(name);
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = folder + TemporaryPrefixOf(base) + std::string(TemporarySuffixLength, 'X');
    FileHandle file(mkostemp(temporary.data(), O_CLOEXEC));
    if (!file)
        throw EFCreateError(name, ErrorFromErrno(errno));
    // The lock, released by the system when the process dies, tells a live
    // write from one a killed process abandoned.
    flock(file.get(), LOCK_EX);
    removeAbandonedTemporaries(folder, base);
    try {
        if (fchmod(file.get(), permissionsFor(path)) != 0)
            throw EFCreateError(name, ErrorFromErrno(errno));
        OutputFile out(std::move(file), true);
        writer(out);
        out.close(true);
        if (std::rename(temporary.c_str(), path.c_str()) != 0)
            throw EFCreateError(name, ErrorFromErrno(errno));
        NoteAdded(path);
    } catch (...) {
        unlink(temporary.c_str());
        throw;
    }
}

void WriteLinesAtomically(const std::string& name, const std::vector<std::string>& lines) {
    WriteFileAtomically(name, [&lines](OutputFile& out) { writeAllLines(out, lines); });
}

} // namespace platform
