#include "platform/Path.h"

#include "platform/FileHandle.h"
#include "platform/FolderIndex.h"

#include <cctype>
#include <string_view>
#include <sys/stat.h>

namespace platform {

namespace {

// Lower-case form for name comparison: ASCII letters, and the Latin-1
// capitals U+00C0..U+00DE (but U+00D7) written as C3 80..C3 9E in UTF-8.
// Hands each byte's folded form to take(index, byte) and stops early when it
// returns false; the folded form has the same length.
template <typename Take> bool foldEach(std::string_view name, Take take) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<unsigned char>(c - 'A' + 'a');
        } else if (c == 0xC3 && i + 1 < name.size()) {
            if (!take(i, static_cast<char>(c)))
                return false;
            c = static_cast<unsigned char>(name[++i]);
            if (c >= 0x80 && c <= 0x9E && c != 0x97)
                c = static_cast<unsigned char>(c + 0x20);
        }
        if (!take(i, static_cast<char>(c)))
            return false;
    }
    return true;
}

// Whether name folds to wanted, which is folded already; no copy is made, as
// this runs for every entry of a folder searched.
bool foldsTo(std::string_view name, std::string_view wanted) {
    return name.size() == wanted.size() && foldEach(name, [wanted](std::size_t i, char c) { return wanted[i] == c; });
}

bool entryExists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// The spelling of `name` in `folder` when it exists there in another letter
// case; the byte-wise first one when several spellings exist. Empty when none.
std::string spellingInFolder(const std::string& folder, const std::string& name) {
    if (const FolderIndex* index = FolderIndex::Of(folder))
        return index->Spelling(name);
    FolderHandle dir(opendir(folder.c_str()));
    if (!dir)
        return {};
    const std::string wanted = FoldedFileName(name);
    std::string found;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view candidate = entry->d_name;
        if (foldsTo(candidate, wanted) && (found.empty() || candidate < found))
            found = candidate;
    }
    return found;
}

// Length in bytes of the character that starts with this byte in UTF-8.
std::size_t characterLength(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

bool onlyWildcards(const std::string& mask, std::size_t from) {
    return mask.find_first_not_of("*?.", from) == std::string::npos;
}

bool matchFolded(const std::string& name, std::size_t n, const std::string& mask, std::size_t m) {
    while (m < mask.size()) {
        const char c = mask[m];
        if (c == '*') {
            for (std::size_t k = n; k <= name.size(); ++k)
                if (matchFolded(name, k, mask, m + 1))
                    return true;
            return false;
        }
        if (c == '?') {
            if (n < name.size() && name[n] != '.')
                n += characterLength(static_cast<unsigned char>(name[n]));
            ++m;
            continue;
        }
        if (c == '.' && n == name.size())
            return onlyWildcards(mask, m);
        if (n >= name.size() || name[n] != c)
            return false;
        ++n;
        ++m;
    }
    return n >= name.size();
}

} // namespace

std::string NativePath(const std::string& path) {
    std::string text = path;
    for (char& c : text)
        if (c == '\\')
            c = '/';
    if (text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0])))
        text.erase(0, 2);

    const bool absolute = !text.empty() && text[0] == '/';
    std::string result = absolute ? "/" : "";
    bool resolving = true;
    std::size_t start = absolute ? 1 : 0;
    while (start <= text.size()) {
        const auto end = std::min(text.find('/', start), text.size());
        std::string component = text.substr(start, end - start);
        if (resolving && !component.empty() && component != "." && component != "..") {
            const std::string folder = result.empty() ? "." : result;
            if (!entryExists(result + component)) {
                const std::string spelling = spellingInFolder(folder, component);
                if (spelling.empty())
                    resolving = false;
                else
                    component = spelling;
            }
        }
        result += component;
        if (end < text.size())
            result += '/';
        start = end + 1;
    }
    return result;
}

std::string FoldedFileName(std::string_view name) {
    std::string result(name);
    foldEach(name, [&result](std::size_t i, char c) {
        result[i] = c;
        return true;
    });
    return result;
}

bool SameFileName(const std::string& a, const std::string& b) {
    return FoldedFileName(a) == FoldedFileName(b);
}

bool MatchesMask(const std::string& name, const std::string& mask) {
    return matchFolded(FoldedFileName(name), 0, FoldedFileName(mask), 0);
}

} // namespace platform
