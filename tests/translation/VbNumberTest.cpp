#include "core/VbError.h"
#include "support/ErrorNumberOf.h"
#include "core/VbNumber.h"

#include <gtest/gtest.h>

TEST(VbNumber, ReadsDecimalNumbersWithBlanksSignAndFraction)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"00014060000", 14060000.0}, {"10", 10.0},   {" 10 ", 10.0},     {"+5", 5.0},
        {"-500", -500.0},            {"10.7", 10.7}, {".5", 0.5},        {"7.", 7.0},
        {"99999999999", 99999999999.0},              {"  -0.25", -0.25}, {"0", 0.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(VbNumber::ParseDecimal(c.text), c.value) << c.text;
}

TEST(VbNumber, RejectsTextsThatAreNotDecimalNumbers)
{
    for (const char* text : {"", " ", "10;", "1 0", "+", "-", ".", "1.2.3", "0x10", "1e5", "ten",
                             "--1", "- 1", "\t10", "10\n", "١٠", "inf", "nan"}) {
        try {
            VbNumber::ParseDecimal(QString::fromUtf8(text));
            ADD_FAILURE() << "accepted " << text;
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), VbError::kTypeMismatch) << text;
            EXPECT_TRUE(e.description().startsWith("Type mismatch")) << text;
            EXPECT_TRUE(e.description().contains(QString::fromUtf8(text))) << text;
        }
    }
    EXPECT_EQ(ErrorNumberOf([] { VbNumber::ParseDecimal(QString(400, QLatin1Char('9'))); }),
              VbError::kOverflow);
}

TEST(VbNumber, ReadsHexadecimalBytes)
{
    EXPECT_EQ(VbNumber::ParseHex("00"), 0);
    EXPECT_EQ(VbNumber::ParseHex("7F"), 127);
    EXPECT_EQ(VbNumber::ParseHex("7f"), 127);
    EXPECT_EQ(VbNumber::ParseHex(" 4A "), 74);
    EXPECT_EQ(VbNumber::ParseHex("7FFFFFFF"), 0x7FFFFFFF);
    for (const char* text : {"", "  ", "G0", "7F;", "-1", "0x7F", "&H7F"})
        EXPECT_EQ(ErrorNumberOf([&] { VbNumber::ParseHex(text); }), VbError::kTypeMismatch) << text;
    EXPECT_EQ(ErrorNumberOf([] { VbNumber::ParseHex("80000000"); }), VbError::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { VbNumber::ParseHex("FFFFFFFFFFFFFFFFFFFF"); }), VbError::kOverflow);
}

TEST(VbNumber, RoundsToSixteenBitsWithTiesToEven)
{
    const struct {
        double value;
        qint16 rounded;
    } cases[] = {
        {0.5, 0},   {1.5, 2},    {2.5, 2},     {-0.5, 0},        {-1.5, -2},      {2.361, 2},
        {4.722, 5}, {99.949, 100}, {-2.6, -3}, {32767.4, 32767}, {-32768.5, -32768},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VbNumber::ToInt16(c.value), c.rounded) << c.value;
    for (double value : {32767.5, -32769.0, 1e300, std::nan("")})
        EXPECT_EQ(ErrorNumberOf([&] { VbNumber::ToInt16(value); }), VbError::kOverflow) << value;
}

TEST(VbNumber, FormatsZeroPaddedWholeNumbers)
{
    EXPECT_EQ(VbNumber::FormatZeroPadded(14060010, 11), "00014060010");
    EXPECT_EQ(VbNumber::FormatZeroPadded(0, 11), "00000000000");
    EXPECT_EQ(VbNumber::FormatZeroPadded(-0.0, 11), "00000000000");
    EXPECT_EQ(VbNumber::FormatZeroPadded(-500, 11), "-00000000500");
    EXPECT_EQ(VbNumber::FormatZeroPadded(123456789012.0, 11), "123456789012");
    EXPECT_EQ(VbNumber::FormatZeroPadded(9007199254740992.0, 11), "9007199254740992");
    EXPECT_EQ(ErrorNumberOf([] { VbNumber::FormatZeroPadded(9007199254740994.0, 11); }),
              VbError::kOverflow);
    EXPECT_EQ(VbNumber::BlankLed(0), " 0");
    EXPECT_EQ(VbNumber::BlankLed(100), " 100");
    EXPECT_EQ(VbNumber::BlankLed(-3), "-3");
}
