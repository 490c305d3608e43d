#include "base/Color.h"

#include <gtest/gtest.h>

#include "base/Exception.h"

using namespace base;

TEST(Color, StringToColorReadsIdentifiersInAnyCaseAndIntegers) {
    const struct {
        const char* text;
        TColor expected;
    } cases[] = {
        {"clRed", 0x0000FF},
        {"CLRED", 0x0000FF},
        {"clmoneygreen", RGB(192, 220, 192)},
        {"clSkyBlue", 0xF0CAA6},
        {"clCream", 0xF0FBFF},
        {"clMedGray", 0xA4A0A0},
        {"clBtnFace", 0xFF00000F},
        {"cl3DDkShadow", 0xFF000015},
        {"clMenuBar", 0xFF00001E},
        {"clNone", 0x1FFFFFFF},
        {"clDefault", 0x20000000},
        {"$00FF00", 0x00FF00},
        {"$0000ff", 0x0000FF},
        {"255", 255},
        {"-16777201", 0xFF00000F},
        {"$FF000010", 0xFF000010},
        {" 12", 12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StringToColor(c.text), c.expected) << c.text;
    }
}

TEST(Color, StringToColorRejectsWhatIsNeitherIdentifierNorInteger) {
    for (const char* text : {"", "$", "cl", "Red", "clclRed", "cl255", "12a", "$FFFFFFFFF", "2147483648", "no such"}) {
        EXPECT_THROW(StringToColor(text), EConvertError) << text;
    }
    try {
        StringToColor("Red");
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'Red' is not a valid integer value");
    }
}

TEST(Color, ColorToRgbResolvesSystemColoursOnly) {
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(240, 240, 240));
    EXPECT_EQ(ColorToRGB(clBtnShadow), RGB(160, 160, 160));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), RGB(255, 255, 255));
    EXPECT_EQ(ColorToRGB(clGrayText), RGB(109, 109, 109));
    EXPECT_EQ(ColorToRGB(clWindowText), RGB(0, 0, 0));
    EXPECT_EQ(ColorToRGB(clNavy), clNavy);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack);
    EXPECT_EQ(GetRValue(RGB(1, 2, 3)), 1);
    EXPECT_EQ(GetGValue(RGB(1, 2, 3)), 2);
    EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
}
