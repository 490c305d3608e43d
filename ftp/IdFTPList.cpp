#include "ftp/IdFTPList.h"

#include "base/StrUtils.h"
#include "ftp/IdException.h"
#include "ftp/IdText.h"

#include <algorithm>
#include <array>
#include <optional>

namespace ftp {

namespace {

bool isBlankLine(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

bool isUnixPermissions(const std::string& upper) {
    if (upper.size() < 10 || std::string("-DL").find(upper[0]) == std::string::npos)
        return false;
    return std::all_of(upper.begin() + 1, upper.begin() + 10,
                       [](char c) { return std::string("-RWX").find(c) != std::string::npos; });
}

bool isDateSeparator(char c) {
    return c == '-' || c == '/';
}

std::string withoutCommas(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ','), text.end());
    return text;
}

// The pieces of a line between single blanks, empty pieces dropped, each
// trimmed of control characters.
std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    const std::string text = base::Trim(line);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t blank = std::min(text.find(' ', start), text.size());
        if (blank > start)
            fields.push_back(base::Trim(text.substr(start, blank - start)));
        start = blank + 1;
    }
    return fields;
}

// A size field as a byte count; -1 (not known) when it does not read as one.
std::int64_t sizeField(const std::string& text) {
    const std::optional<std::int64_t> size = ToInt64(text);
    return size && *size >= 0 ? *size : -1;
}

bool beginsWithLetter(const std::string& text) {
    return !text.empty() && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
}

int monthFromName(const std::string& name) {
    static const std::array<const char*, 12> months = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                       "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const std::string upper = base::UpperCase(name);
    for (std::size_t i = 0; i < months.size(); ++i)
        if (upper == months[i])
            return static_cast<int>(i) + 1;
    return 0;
}

const std::string& field(const std::vector<std::string>& fields, std::size_t index) {
    if (index >= fields.size())
        throw EIdInvalidFTPListingFormat();
    return fields[index];
}

base::TDateTime encodeOrFail(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    base::TDateTime date = 0;
    base::TDateTime time = 0;
    if (!base::TryEncodeDate(year, month, day, date) || !base::TryEncodeTime(hour, minute, second, millisecond, time))
        throw EIdInvalidFTPListingFormat();
    return date + time;
}

// Takes the text before the first blank of rest out of it (all of rest when there is none).
std::string takeWord(std::string& rest) {
    const std::size_t blank = rest.find(' ');
    std::string word = rest.substr(0, blank);
    rest = blank == std::string::npos ? std::string() : rest.substr(blank + 1);
    return word;
}

// Reads "mm/dd/yy hh:mm" with an optional AM/PM before or after the time;
// 0 when it is no valid date and time.
base::TDateTime readDosDateTime(const std::string& text) {
    const std::string upper = base::UpperCase(text);
    const int month = ToInt32(Copy(upper, 0, 2)).value_or(0);
    const int day = ToInt32(Copy(upper, 3, 2)).value_or(0);
    const std::string yearText = base::Trim(Copy(upper, 6, 2));
    std::string time = base::Trim(Copy(upper, 9));
    int halfDay = 0; // 1 AM, 2 PM
    for (const auto& [marker, value] : {std::pair{"AM", 1}, std::pair{"PM", 2}}) {
        if (time.size() >= 2 && time.compare(time.size() - 2, 2, marker) == 0) {
            time = base::Trim(time.substr(0, time.size() - 2));
            halfDay = value;
        } else if (time.compare(0, 2, marker) == 0) {
            time = base::Trim(time.substr(2));
            halfDay = value;
        }
    }
    const std::size_t colon = time.find(':');
    const auto yearValue = ToInt32(yearText);
    const auto hourValue = ToInt32(time.substr(0, colon));
    const auto minuteValue = colon == std::string::npos ? std::nullopt : ToInt32(time.substr(colon + 1));
    if (!yearValue || !hourValue || !minuteValue || yearText.size() > 2)
        return 0;
    const int windowStart = base::DecodeDate(base::Now()).year - 50;
    int year = windowStart / 100 * 100 + *yearValue;
    if (year < windowStart)
        year += 100;
    int hour = *hourValue;
    if (halfDay != 0) {
        if (hour < 1 || hour > 12)
            return 0;
        hour = hour % 12 + (halfDay == 2 ? 12 : 0);
    }
    base::TDateTime date = 0;
    base::TDateTime clock = 0;
    if (!base::TryEncodeDate(year, month, day, date) || !base::TryEncodeTime(hour, *minuteValue, 0, 0, clock))
        return 0;
    return date + clock;
}

} // namespace

TIdFTPListFormat DetectListFormat(const std::string& line, bool byFirstItem) {
    if (!byFirstItem)
        return flfNoDetails;
    const std::string upper = base::UpperCase(line);
    if (isUnixPermissions(upper) || upper.rfind("TOTAL", 0) == 0)
        return flfUnix;
    if (upper.find("DSK:") != std::string::npos)
        return flfVax;
    if (upper.size() >= 6 && isDateSeparator(upper[2]) && isDateSeparator(upper[5])) {
        const std::string directory = base::Trim(Copy(upper, 24, 6));
        const std::string size = withoutCommas(base::Trim(Copy(upper, 30, 8)));
        if (directory == "<DIR>" || (directory.empty() && ToInt64(size)))
            return flfDos;
    }
    return flfUnknown;
}

void TIdFTPListItems::LoadListing(const std::vector<std::string>& lines) {
    text_.clear();
    entries_.clear();
    parsedFormat_ = DetectedFormat;
    std::size_t first = 0;
    if (DetectedFormat == flfUnix && !lines.empty() && base::StartsText("TOTAL", lines.front()))
        first = 1;
    std::size_t textSize = 0;
    for (std::size_t i = first; i < lines.size(); ++i)
        textSize += lines[i].size();
    text_.reserve(textSize);
    entries_.reserve(lines.size() - first);
    TIdFTPListItem item;
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (isBlankLine(lines[i]))
            continue;
        item.RawLine = lines[i];
        try {
            if (DetectedFormat != flfNone)
                ParseEntry(DetectedFormat, item);
        } catch (const base::Exception&) {
            text_.clear();
            entries_.clear();
            continue;
        }
        text_ += lines[i];
        entries_.push_back({text_.size(), item.ModifiedAt});
    }
    text_.shrink_to_fit();
    entries_.shrink_to_fit();
}

TIdFTPListItem TIdFTPListItems::operator[](std::size_t index) const {
    const Entry& entry = entries_.at(index);
    const std::size_t start = index == 0 ? 0 : entries_[index - 1].end;
    TIdFTPListItem item;
    item.RawLine = text_.substr(start, entry.end - start);
    if (parsedFormat_ != flfNone)
        ParseEntry(parsedFormat_, item);
    // The date as it was read at loading: dates without a year depend on the day.
    item.ModifiedAt = entry.modifiedAt;
    return item;
}

void ParseEntry(TIdFTPListFormat format, TIdFTPListItem& item) {
    switch (format) {
    case flfDos:
        ParseDosEntry(item);
        return;
    case flfUnix:
    case flfVax:
        ParseUnixEntry(item);
        return;
    case flfNoDetails:
        item.EntryName = base::Trim(item.RawLine);
        return;
    case flfNone:
        return;
    case flfUnknown:
    case flfCustom:
        break;
    }
    throw EIdInvalidFTPListingFormat();
}

void ParseUnixEntry(TIdFTPListItem& item) {
    const base::DateParts today = base::DecodeDate(base::Now());
    std::vector<std::string> fields = splitFields(item.RawLine);
    if (fields.size() == 8 && beginsWithLetter(fields[4]))
        fields.insert(fields.begin() + 2, std::string());

    const std::string& permissions = field(fields, 0);
    const char kind = base::UpperCase(permissions.substr(0, 1))[0];
    item.OwnerRights = Copy(permissions, 1, 3);
    item.GroupRights = Copy(permissions, 4, 3);
    item.OtherRights = Copy(permissions, 7, 3);
    item.LinkCount = ToInt32(field(fields, 1)).value_or(0);
    if (fields.size() > 2)
        item.OwnerAccount = fields[2];
    if (fields.size() > 3)
        item.GroupAccount = fields[3];
    if (fields.size() > 4)
        item.EntrySize = sizeField(fields[4]);

    const int month = monthFromName(field(fields, 5));
    const int day = ToInt32(field(fields, 6)).value_or(today.day);
    const std::string& yearOrTime = field(fields, 7);
    int year = today.year;
    int hours = 0;
    int minutes = 0;
    if (const std::size_t colon = yearOrTime.find(':'); colon != std::string::npos) {
        if (today.month < month)
            --year;
        hours = ToInt32(yearOrTime.substr(0, colon)).value_or(0);
        minutes = ToInt32(yearOrTime.substr(colon + 1)).value_or(0);
    } else {
        year = ToInt32(yearOrTime).value_or(today.year);
    }
    item.ModifiedAt = encodeOrFail(year, month, day, hours, minutes, 0, 999);

    std::string name;
    for (std::size_t i = 8; i < fields.size(); ++i)
        name += (i > 8 ? " " : "") + fields[i];
    item.EntryKind = kind == 'D' ? fekDirectory : kind == 'L' ? fekSymbolicLink : fekFile;
    if (item.EntryKind == fekSymbolicLink) {
        item.EntrySize = -1;
        if (const std::size_t arrow = name.find(" -> "); arrow != std::string::npos) {
            item.LinkTarget = name.substr(arrow + 4);
            name.resize(arrow);
        }
    }
    item.EntryName = name;
}

void ParseDosEntry(TIdFTPListItem& item) {
    const std::string& line = item.RawLine;
    std::string dateText = Copy(line, 0, 2) + "/" + Copy(line, 3, 2) + "/" + Copy(line, 6, 2) + " ";
    std::string rest = base::Trim(Copy(line, 8));
    dateText += takeWord(rest);
    rest = base::Trim(rest);
    std::string sizeText = withoutCommas(takeWord(rest));
    const bool directory = base::SameText(sizeText, "<DIR>");
    if (directory)
        sizeText.clear();
    item.EntryName = base::Trim(rest);
    item.EntryKind = directory ? fekDirectory : fekFile;
    item.EntrySize = sizeField(sizeText);
    item.ModifiedAt = readDosDateTime(dateText);
}

} // namespace ftp
