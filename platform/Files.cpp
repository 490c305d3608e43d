#include "platform/Files.h"

#include "base/LocalTime.h"
#include "base/StrUtils.h"
#include "platform/FileDate.h"
#include "platform/FileFaults.h"
#include "platform/FileHandle.h"
#include "platform/FolderIndex.h"
#include "platform/Path.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

using base::TDateTime;

namespace {

// Tells the folder index of a rename that went through.
bool renamed(const std::string& from, const std::string& to) {
    NoteRemoved(from);
    NoteAdded(to);
    return true;
}

bool statOf(const std::string& name, struct stat& info) {
    if (stat(NativePath(name).c_str(), &info) == 0)
        return true;
    SetLastErrorFromErrno(errno);
    return false;
}

TDateTime modifiedAt(const struct stat& info) {
    return base::UnixToDateTime(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
}

bool fail(std::uint32_t code) {
    SetLastError(code);
    return false;
}

bool failFromErrno() {
    SetLastErrorFromErrno(errno);
    return false;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

bool FileExists(const std::string& name) {
    struct stat info {};
    return statOf(name, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& name) {
    struct stat info {};
    return statOf(name, info) && S_ISDIR(info.st_mode);
}

bool FileSize(const std::string& name, std::int64_t& size) {
    struct stat info {};
    if (!statOf(name, info))
        return false;
    size = info.st_size;
    return true;
}

bool FileAge(const std::string& name, TDateTime& age) {
    struct stat info {};
    if (!statOf(name, info))
        return false;
    age = modifiedAt(info);
    return true;
}

std::uint32_t FileSetDate(const std::string& name, std::int32_t fileDate) {
    TDateTime value = 0;
    std::time_t seconds = 0;
    if (!TryFileDateToDateTime(fileDate, value) || !base::DateTimeToUnix(value, seconds))
        return ERROR_INVALID_PARAMETER;
    const timespec times[2] = {{0, UTIME_OMIT}, {seconds, 0}};
    if (utimensat(AT_FDCWD, NativePath(name).c_str(), times, 0) != 0)
        return ErrorFromErrno(errno);
    return ERROR_SUCCESS;
}

bool DeleteFile(const std::string& name) {
    if (const std::uint32_t code = InjectedFileFault(FileOperation::Delete, name))
        return fail(code);
    const std::string path = NativePath(name);
    if (unlink(path.c_str()) != 0)
        return failFromErrno();
    NoteRemoved(path);
    return true;
}

bool CopyFile(const std::string& source, const std::string& target, bool failIfExists) {
    if (const std::uint32_t code = InjectedFileFault(FileOperation::Copy, target))
        return fail(code);
    FileHandle in(open(NativePath(source).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat sourceInfo {};
    if (!in || fstat(in.get(), &sourceInfo) != 0)
        return failFromErrno();
    if (S_ISDIR(sourceInfo.st_mode))
        return fail(ERROR_ACCESS_DENIED);
    const std::string targetPath = NativePath(target);
    struct stat targetInfo {};
    if (stat(targetPath.c_str(), &targetInfo) == 0 && sameFile(sourceInfo, targetInfo))
        return fail(failIfExists ? ERROR_FILE_EXISTS : ERROR_SHARING_VIOLATION);
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC);
    FileHandle out(open(targetPath.c_str(), flags, sourceInfo.st_mode & 0777));
    if (!out)
        return failFromErrno();
    const int copyError = CopyContents(in.get(), out.get());
    const timespec times[2] = {{0, UTIME_OMIT}, sourceInfo.st_mtim};
    if (copyError != 0 || futimens(out.get(), times) != 0 || out.close() != 0) {
        const int error = copyError != 0 ? copyError : errno;
        unlink(targetPath.c_str());
        SetLastErrorFromErrno(error);
        return false;
    }
    NoteAdded(targetPath);
    return true;
}

bool RenameFile(const std::string& oldName, const std::string& newName) {
    const std::string from = NativePath(oldName);
    const std::string to = NativePath(newName);
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return renamed(from, to);
    if (errno == EEXIST)
        return fail(ERROR_ALREADY_EXISTS);
    if (errno != EINVAL && errno != ENOSYS)
        return failFromErrno();
    // The file system cannot rename without replacing: check first.
    struct stat info {};
    if (lstat(to.c_str(), &info) == 0)
        return fail(ERROR_ALREADY_EXISTS);
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return failFromErrno();
    return renamed(from, to);
}

std::vector<SearchRec> FindFiles(const std::string& pattern) {
    const auto slash = pattern.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "." : NativePath(pattern.substr(0, slash + 1));
    const std::string mask = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    std::vector<SearchRec> found;
    FolderHandle dir(opendir(folder.c_str()));
    if (!dir) {
        SetLastErrorFromErrno(errno);
        return found;
    }
    while (const dirent* entry = readdir(dir.get())) {
        SearchRec rec;
        rec.name = entry->d_name;
        if (!MatchesMask(rec.name, mask))
            continue;
        struct stat info {};
        if (stat((folder + "/" + rec.name).c_str(), &info) == 0) {
            rec.directory = S_ISDIR(info.st_mode);
            rec.size = info.st_size;
            rec.time = modifiedAt(info);
        }
        found.push_back(rec);
    }
    std::sort(found.begin(), found.end(),
              [](const SearchRec& a, const SearchRec& b) { return base::CompareText(a.name, b.name) < 0; });
    return found;
}

} // namespace platform
