#pragma once

#include "base/DateTime.h"

#include <cstdint>
#include <string>
#include <vector>

// Turns the lines of a detailed directory listing into entries.
namespace ftp {

enum TIdFTPListFormat { flfNone, flfDos, flfUnix, flfVax, flfNoDetails, flfUnknown, flfCustom };

enum TIdDirItemType { fekDirectory, fekFile, fekSymbolicLink };

struct TIdFTPListItem {
    std::string RawLine;
    std::string EntryName;
    // The size the listing shows; -1 when it is not known (a size field
    // that does not read, a DOS directory, a symbolic link, whose size is
    // the link's and not its target's).
    std::int64_t EntrySize = -1;
    base::TDateTime ModifiedAt = 0; // as the server shows it, no time-zone conversion
    TIdDirItemType EntryKind = fekFile;
    std::string OwnerRights = "???";
    std::string GroupRights = "???";
    std::string OtherRights = "???";
    std::int32_t LinkCount = 0;
    std::string OwnerAccount = "????????";
    std::string GroupAccount = "????????";
    std::string LinkTarget;
};

// The entries of a listing, kept compactly as the text of their lines and
// the date each had when parsed; an entry is parsed again from its line when
// asked for, so a large listing costs little more than its text.
class TIdFTPListItems {
public:
    TIdFTPListFormat DetectedFormat = flfUnix;

    std::size_t Count() const { return entries_.size(); }
    // Throws std::out_of_range for an index beyond Count.
    TIdFTPListItem operator[](std::size_t index) const;

    // Rebuilds the entries from lines in DetectedFormat. A "total" first line
    // and blank lines make no entry; a line that fails to parse drops every
    // entry collected so far and parsing goes on.
    void LoadListing(const std::vector<std::string>& lines);

private:
    struct Entry {
        std::size_t end; // of its line in text_, which starts where the previous one ends
        base::TDateTime modifiedAt;
    };
    TIdFTPListFormat parsedFormat_ = flfUnix;
    std::string text_;
    std::vector<Entry> entries_;
};

// The format of a listing judged by its first line (flfNoDetails unless byFirstItem).
TIdFTPListFormat DetectListFormat(const std::string& line, bool byFirstItem);

// Fill the entry's fields from its RawLine. Both throw EIdInvalidFTPListingFormat
// (or another base::Exception) when the line does not parse, except that a
// DOS date that does not read gives ModifiedAt 0. Dates without a year are
// placed by base::Now().
void ParseEntry(TIdFTPListFormat format, TIdFTPListItem& item);
void ParseUnixEntry(TIdFTPListItem& item);
void ParseDosEntry(TIdFTPListItem& item);

} // namespace ftp
