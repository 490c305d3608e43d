#include "ftp/IdFTPList.h"

#include <gtest/gtest.h>

using namespace ftp;
using base::EncodeDate;
using base::EncodeTime;

namespace {

// Fixes "now" for the parser while it lives.
struct FixedClock {
    explicit FixedClock(base::TDateTime now) {
        base::SetClock([now] { return now; });
    }
    ~FixedClock() { base::SetClock({}); }
};

base::TDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int millisecond = 999) {
    return EncodeDate(year, month, day) + EncodeTime(hour, minute, 0, millisecond);
}

struct Expected {
    std::string name;
    std::int64_t size;
    TIdDirItemType kind;
    base::TDateTime modified;
};

TIdFTPListItems parse(const std::vector<std::string>& lines) {
    TIdFTPListItems items;
    items.DetectedFormat = DetectListFormat(lines.front(), true);
    items.LoadListing(lines);
    return items;
}

const std::string file = "-rw-r--r--   1 owner    group        1024 ";

} // namespace

TEST(ListParser, ListingsBecomeTheirEntries) {
    struct Case {
        const char* what;
        base::TDateTime now;
        std::vector<std::string> lines;
        std::vector<Expected> entries;
    };
    const base::TDateTime december7 = at(2026, 12, 7, 15, 0, 0);
    const std::vector<Case> cases = {
        {"total line and blank lines make no entry",
         december7,
         {"total 12", file + "Jan 15 10:30 a.txt", "", " \t ", "drwxr-xr-x   2 owner group 4096 Feb  1  2026 sub"},
         {{"a.txt", 1024, fekFile, at(2026, 1, 15, 10, 30)}, {"sub", 4096, fekDirectory, at(2026, 2, 1)}}},
        {"a month after the current one was last year",
         at(2026, 3, 10),
         {file + "Dec 20 09:00 old.txt", file + "Mar 31 23:59 same-month.txt"},
         {{"old.txt", 1024, fekFile, at(2025, 12, 20, 9, 0)},
          {"same-month.txt", 1024, fekFile, at(2026, 3, 31, 23, 59)}}},
        {"later days of the current month stay in the current year",
         december7,
         {file + "Dec 20 10:00 soon.txt", file + "Dec 20  2024 dated.txt"},
         {{"soon.txt", 1024, fekFile, at(2026, 12, 20, 10, 0)}, {"dated.txt", 1024, fekFile, at(2024, 12, 20)}}},
        {"inner blank runs in names become one blank",
         december7,
         {file + "Jan  2 08:00 my  file   name.txt"},
         {{"my file name.txt", 1024, fekFile, at(2026, 1, 2, 8, 0)}}},
        {"a failed line drops every entry before it",
         december7,
         {file + "Jan 1 2020 1", file + "Jan 1 2020 2", file + "Jan 1 2020 3", file + "Jan 1 2020 4",
          file + "Jan 1 2020 5", file + "Foo 1 2020 bad", file + "Jan 1 2020 7", file + "Jan 1 2020 8"},
         {{"7", 1024, fekFile, at(2020, 1, 1)}, {"8", 1024, fekFile, at(2020, 1, 1)}}},
        {"impossible dates and short lines fail",
         december7,
         {file + "Jan 1 2020 kept", file + "Apr 31 2020 x", file + "Feb 29 2023 y", file + "Jan 1 24:00 z",
          file + "Jan 1 2020 last", "-rw-r--r-- 1 owner group 5 Jan"},
         {}},
        {"DOS lines with AM/PM times, directories and thousands commas",
         december7,
         {"01-15-04  10:23AM       <DIR>          My Docs", "01-15-04  02:05PM              1,234,567 big file.zip",
          "12-31-99  12:00AM                    0 midnight", "07-04-75  12:30PM                   10 noon",
          "07-04-76  01:00PM                   11 window start", "13-45-04  10:23AM                   77 no date",
          "02-01-26  23:15                       5 clock24"},
         {{"My Docs", -1, fekDirectory, at(2004, 1, 15, 10, 23, 0)},
          {"big file.zip", 1234567, fekFile, at(2004, 1, 15, 14, 5, 0)},
          {"midnight", 0, fekFile, at(1999, 12, 31, 0, 0, 0)},
          {"noon", 10, fekFile, at(2075, 7, 4, 12, 30, 0)},
          {"window start", 11, fekFile, at(1976, 7, 4, 13, 0, 0)},
          {"no date", 77, fekFile, 0},
          {"clock24", 5, fekFile, at(2026, 2, 1, 23, 15, 0)}}},
        {"a size that does not read is not known",
         december7,
         {"-rw-r--r-- 1 owner group 12x Jan 1 2020 odd", "-rw-r--r-- 1 owner group -5 Jan 1 2020 negative"},
         {{"odd", -1, fekFile, at(2020, 1, 1)}, {"negative", -1, fekFile, at(2020, 1, 1)}}},
        {"a DOS size that does not read is not known",
         december7,
         {"05-01-20  10:00AM                   12 dos", "05-01-20  10:00AM                  1x2 dos odd"},
         {{"dos", 12, fekFile, at(2020, 5, 1, 10, 0, 0)}, {"dos odd", -1, fekFile, at(2020, 5, 1, 10, 0, 0)}}},
        {"a first line of no known format gives nothing", december7, {"readme.txt", file + "Jan 1 2020 a"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FixedClock clock(c.now);
        const TIdFTPListItems items = parse(c.lines);
        ASSERT_EQ(items.Count(), c.entries.size());
        for (std::size_t i = 0; i < items.Count(); ++i) {
            EXPECT_EQ(items[i].EntryName, c.entries[i].name);
            EXPECT_EQ(items[i].EntrySize, c.entries[i].size);
            EXPECT_EQ(items[i].EntryKind, c.entries[i].kind);
            EXPECT_NEAR(items[i].ModifiedAt, c.entries[i].modified, 1e-9) << items[i].RawLine;
        }
    }
}

TEST(ListParser, UnixColumnsLinksAndMissingGroup) {
    FixedClock clock(at(2026, 12, 7));
    const TIdFTPListItems items = parse({
        "-rwxr-x--x 3 alice staff 77 Mar  3  2025 tool",
        "-rw-r--r-- 1 bob 2048 Mar 3 2025 name.bin",
        "lrwxrwxrwx 1 root root 11 Jan  1  2020 current -> releases/v2",
        "lrwxrwxrwx 1 root root 11 Jan  1  2020 dangling",
    });
    ASSERT_EQ(items.Count(), 4u);
    EXPECT_EQ(items[0].OwnerRights, "rwx");
    EXPECT_EQ(items[0].GroupRights, "r-x");
    EXPECT_EQ(items[0].OtherRights, "--x");
    EXPECT_EQ(items[0].LinkCount, 3);
    EXPECT_EQ(items[0].OwnerAccount, "alice");
    EXPECT_EQ(items[0].GroupAccount, "staff");

    EXPECT_EQ(items[1].OwnerAccount, "");
    EXPECT_EQ(items[1].GroupAccount, "bob");
    EXPECT_EQ(items[1].EntrySize, 2048);
    EXPECT_EQ(items[1].EntryName, "name.bin");
    EXPECT_NEAR(items[1].ModifiedAt, at(2025, 3, 3), 1e-9);

    EXPECT_EQ(items[2].EntryKind, fekSymbolicLink);
    EXPECT_EQ(items[2].EntrySize, -1) << "the size of the link, not of its target";
    EXPECT_EQ(items[2].EntryName, "current");
    EXPECT_EQ(items[2].LinkTarget, "releases/v2");
    EXPECT_EQ(items[3].EntryName, "dangling");
    EXPECT_EQ(items[3].LinkTarget, "");
}

TEST(ListParser, FormatIsJudgedByTheFirstLine) {
    const std::vector<std::pair<std::string, TIdFTPListFormat>> cases = {
        {"-rw-r--r-- 1 u g 1 Jan 1 2020 a", flfUnix},
        {"drwxrwxrwx", flfUnix},
        {"TOTAL 0", flfUnix},
        {"-rwsr-xr-x 1 u g 1 Jan 1 2020 setuid", flfUnknown},
        {"-rw-r--r", flfUnknown},
        {"USER1:[000000]FILE.TXT;1  DSK:", flfVax},
        {"01-15-04  10:23AM       <DIR>          x", flfDos},
        {"01/15/04  10:23                    500 x", flfDos},
        {"01.15.04  10:23AM       <DIR>          dots", flfUnknown},
        {"readme.txt", flfUnknown},
    };
    for (const auto& [line, format] : cases)
        EXPECT_EQ(DetectListFormat(line, true), format) << line;
    EXPECT_EQ(DetectListFormat("-rw-r--r-- 1 u g 1 Jan 1 2020 a", false), flfNoDetails);
}
