#include "base/Format.h"
#include "base/Exception.h"
#include "base/FormatDateTime.h"

#include <gtest/gtest.h>

using namespace base;

namespace {

FormatSettings brazilian() {
    FormatSettings settings;
    settings.decimalSeparator = ",";
    settings.thousandSeparator = ".";
    settings.dateSeparator = "/";
    settings.timeSeparator = ":";
    settings.shortDateFormat = "dd/mm/yyyy";
    settings.longTimeFormat = "hh:nn:ss";
    settings.shortTimeFormat = "hh:nn";
    return settings;
}

FormatSettings plain() {
    FormatSettings settings;
    settings.decimalSeparator = ".";
    settings.thousandSeparator = ",";
    return settings;
}

} // namespace

TEST(FormatFloat, CounterPatternGroupsThousands) {
    const std::string counter = "##,###,##0";
    struct Case {
        double value;
        const char* brazil;
        const char* english;
    };
    for (const Case& c :
         {Case{0, "0", "0"}, Case{1, "1", "1"}, Case{999, "999", "999"}, Case{1024, "1.024", "1,024"},
          Case{4194303, "4.194.303", "4,194,303"}, Case{123456789012.0, "123.456.789.012", "123,456,789,012"},
          Case{-1024, "-1.024", "-1,024"}, Case{1023.5, "1.024", "1,024"}}) {
        EXPECT_EQ(FormatFloat(counter, c.value, brazilian()), c.brazil) << c.value;
        EXPECT_EQ(FormatFloat(counter, c.value, plain()), c.english) << c.value;
    }
    FormatSettings noGrouping = plain();
    noGrouping.thousandSeparator.clear();
    EXPECT_EQ(FormatFloat(counter, 1048576, noGrouping), "1048576");
}

TEST(FormatFloat, RatePatternKeepsTwoDecimalsAndLiteralText) {
    EXPECT_EQ(FormatFloat("0.00 KB/s", 0, brazilian()), "0,00 KB/s");
    EXPECT_EQ(FormatFloat("0.00 KB/s", 1.5, brazilian()), "1,50 KB/s");
    EXPECT_EQ(FormatFloat("0.00 KB/s", 1234.567, brazilian()), "1234,57 KB/s");
    EXPECT_EQ(FormatFloat("0.00 KB/s", 0.125, plain()), "0.13 KB/s"); // half away from zero
    EXPECT_EQ(FormatFloat("0.00 KB/s", 2.675, plain()), "2.68 KB/s"); // the decimal value, not its binary neighbour
    EXPECT_EQ(FormatFloat("0.00 KB/s", 9.999, plain()), "10.00 KB/s");
    EXPECT_EQ(FormatFloat("0.00 KB/s", -0.001, plain()), "0.00 KB/s");
}

TEST(FormatFloat, OptionalDigitsQuotesAndLeadingZeros) {
    EXPECT_EQ(FormatFloat("#.##", 1.5, plain()), "1.5");
    EXPECT_EQ(FormatFloat("#.##", 2, plain()), "2");
    EXPECT_EQ(FormatFloat("#", 0, plain()), "");
    EXPECT_EQ(FormatFloat("000", 7, plain()), "007");
    EXPECT_EQ(FormatFloat("0.0#", 3.1, plain()), "3.1");
    EXPECT_EQ(FormatFloat("0.0#", 3, plain()), "3.0");
    EXPECT_EQ(FormatFloat("'#'0 \"0.0\"", 5, plain()), "#5 0.0");
}

TEST(Format, IntegersTextsAndWidths) {
    EXPECT_EQ(Format("%2d:%2d:%2d", {65 / 3600, (65 / 60) % 60, 65 % 60}), " 0: 1: 5");
    EXPECT_EQ(Format("%2d:%2d:%2d", {3725 / 3600, (3725 / 60) % 60, 3725 % 60}), " 1: 2: 5");
    EXPECT_EQ(Format("%d%%", {37}), "37%");
    EXPECT_EQ(Format("Alias %s do BDE", {std::string("")}), "Alias  do BDE");
    EXPECT_EQ(Format("[%-4d|%4s|%.2s|%.3d]", {-5, "ab", "xyz", 7}), "[-5  |  ab|xy|007]");
    EXPECT_EQ(Format("%2d", {123}), "123");
    EXPECT_EQ(Format("no fields", {}), "no fields");
}

TEST(Format, MismatchedArgumentsRaise) {
    EXPECT_THROW(Format("%d", {"text"}), EConvertError);
    EXPECT_THROW(Format("%s", {5}), EConvertError);
    EXPECT_THROW(Format("%d %d", {5}), EConvertError);
    EXPECT_THROW(Format("%q", {5}), EConvertError);
    EXPECT_THROW(Format("%", {5}), EConvertError);
}

TEST(FormatDateTime, PatternsOfTheProgram) {
    const FormatSettings settings = brazilian();
    const TDateTime morning = EncodeDate(2026, 12, 7) + EncodeTime(9, 5, 10, 30);
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy HH:mm", morning, settings), "07/12/2026 09:05");
    EXPECT_EQ(FormatDateTime("hh:mm:ss", morning, settings), "09:05:10");
    EXPECT_EQ(FormatDateTime("ddddd", morning, settings), "07/12/2026");
    EXPECT_EQ(FormatDateTime("tt", morning, settings), "09:05:10");
    EXPECT_EQ(FormatDateTime("d/m/yy h:n:s.zzz", morning, settings), "7/12/26 9:5:10.030");
    EXPECT_EQ(FormatDateTime("c", morning, settings), "07/12/2026 09:05:10");
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2026, 12, 7), settings), "07/12/2026");
    EXPECT_EQ(FormatDateTime("'dd' \"mm\" dd", morning, settings), "dd mm 07");
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy HH:mm", 0, settings), "30/12/1899 00:00");
}

TEST(FormatDateTime, SeparatorsComeFromTheSettings) {
    FormatSettings settings = brazilian();
    settings.dateSeparator = ".";
    settings.timeSeparator = "h";
    const TDateTime value = EncodeDate(2026, 1, 2) + EncodeTime(23, 4, 5, 0);
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", value, settings), "02.01.2026 23h04");
    EXPECT_EQ(FormatDateTime("ddddd tt", value, settings), "02.01.2026 23h04h05");
}

TEST(FormatDateTime, TwelveHourClockAndNames) {
    FormatSettings settings = FormatSettingsFromLocale("C");
    const TDateTime evening = EncodeDate(2026, 12, 7) + EncodeTime(21, 30, 0, 0);
    EXPECT_EQ(FormatDateTime("h:nn am/pm", evening, settings), "9:30 pm");
    EXPECT_EQ(FormatDateTime("hh:nn A/P", EncodeTime(0, 15, 0, 0), settings), "12:15 A");
    EXPECT_EQ(FormatDateTime("hh ampm", evening, settings), "09 PM");
    EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", evening, settings), "Mon Monday Dec December");
}

TEST(FormatSettings, CLocaleGivesPlainSeparators) {
    const FormatSettings settings = FormatSettingsFromLocale("C");
    EXPECT_EQ(settings.decimalSeparator, ".");
    EXPECT_EQ(settings.thousandSeparator, "");
    EXPECT_EQ(settings.dateSeparator, "/");
    EXPECT_EQ(settings.timeSeparator, ":");
    EXPECT_EQ(settings.shortDateFormat, "mm/dd/yy");
    EXPECT_EQ(settings.longTimeFormat, "hh:nn:ss");
    EXPECT_EQ(FormatSettingsFromLocale("no_SUCH.locale").shortDateFormat, "mm/dd/yy");
}

TEST(FormatSettings, InstalledSettingsDriveTheShortForms) {
    const FormatSettings saved = CurrentFormatSettings();
    SetFormatSettings(brazilian());
    const TDateTime value = EncodeDate(2026, 12, 7) + EncodeTime(9, 45, 10, 0);
    EXPECT_EQ(DateToStr(value), "07/12/2026");
    EXPECT_EQ(TimeToStr(value), "09:45:10");
    EXPECT_EQ(FormatFloat("0.00 KB/s", 0), "0,00 KB/s");
    SetFormatSettings(saved);
}
