#pragma once

#include <set>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unordered_map>
#include <vector>

namespace platform {

// The names of one folder, read once and kept up to date by this program's
// own file operations, for the lookups that writing many files there makes
// for each of them (another spelling of a name, the temporary files that a
// killed write left): without it each lookup reads the whole folder, and
// filling a folder of n files costs n * n. While an index lives, those
// lookups in its folder ask it; what other programs change there meanwhile is
// not seen, so an index is meant for the span of work that alone writes the
// folder. One index at a time.
class FolderIndex {
public:
    // Reads the folder; an unreadable folder gives an empty index.
    explicit FolderIndex(const std::string& folder);
    ~FolderIndex();
    FolderIndex(const FolderIndex&) = delete;
    FolderIndex& operator=(const FolderIndex&) = delete;

    // The index that covers the folder (a native path), or null.
    static FolderIndex* Of(const std::string& folder);

    // The spelling of the name in the folder that compares equal to it
    // ignoring letter case (the byte-wise first when several do); empty when
    // none does.
    std::string Spelling(std::string_view name) const;
    // The names in the folder that begin with prefix.
    std::vector<std::string> NamesStartingWith(const std::string& prefix) const;

    void Added(const std::string& name);
    void Removed(const std::string& name);

private:
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::set<std::string> names_;
    // Each folded name with its spellings.
    std::unordered_map<std::string, std::set<std::string>> spellings_;
};

// What the file operations tell the index of the folder that holds path (a
// native path), if one covers it.
void NoteAdded(const std::string& path);
void NoteRemoved(const std::string& path);

} // namespace platform
