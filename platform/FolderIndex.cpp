#include "platform/FolderIndex.h"

#include <dirent.h>
#include <sys/stat.h>

#include "platform/FileHandle.h"
#include "platform/Path.h"

namespace platform {

namespace {

FolderIndex* active = nullptr;

bool identify(const std::string& folder, dev_t& device, ino_t& inode) {
    struct stat info {};
    if (stat(folder.empty() ? "." : folder.c_str(), &info) != 0)
        return false;
    device = info.st_dev;
    inode = info.st_ino;
    return true;
}

// The folder part of a native path (empty for the current folder) and its name.
std::pair<std::string, std::string> split(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

} // namespace

FolderIndex::FolderIndex(const std::string& folder) {
    identify(folder, device_, inode_);
    if (FolderHandle dir{opendir(folder.empty() ? "." : folder.c_str())})
        while (const dirent* entry = readdir(dir.get()))
            Added(entry->d_name);
    active = this;
}

FolderIndex::~FolderIndex() {
    if (active == this)
        active = nullptr;
}

FolderIndex* FolderIndex::Of(const std::string& folder) {
    dev_t device = 0;
    ino_t inode = 0;
    if (active == nullptr || !identify(folder, device, inode))
        return nullptr;
    return device == active->device_ && inode == active->inode_ ? active : nullptr;
}

std::string FolderIndex::Spelling(std::string_view name) const {
    const auto found = spellings_.find(FoldedFileName(name));
    return found == spellings_.end() ? std::string() : *found->second.begin();
}

std::vector<std::string> FolderIndex::NamesStartingWith(const std::string& prefix) const {
    std::vector<std::string> names;
    for (auto name = names_.lower_bound(prefix); name != names_.end() && name->starts_with(prefix); ++name)
        names.push_back(*name);
    return names;
}

void FolderIndex::Added(const std::string& name) {
    if (names_.insert(name).second)
        spellings_[FoldedFileName(name)].insert(name);
}

void FolderIndex::Removed(const std::string& name) {
    if (names_.erase(name) == 0)
        return;
    const auto spellings = spellings_.find(FoldedFileName(name));
    spellings->second.erase(name);
    if (spellings->second.empty())
        spellings_.erase(spellings);
}

void NoteAdded(const std::string& path) {
    const auto [folder, name] = split(path);
    if (FolderIndex* index = FolderIndex::Of(folder))
        index->Added(name);
}

void NoteRemoved(const std::string& path) {
    const auto [folder, name] = split(path);
    if (FolderIndex* index = FolderIndex::Of(folder))
        index->Removed(name);
}

} // namespace platform
