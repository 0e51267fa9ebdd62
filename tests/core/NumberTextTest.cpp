#include "core/NumberedError.h"
#include "core/NumberText.h"
#include "support/ErrorNumberOf.h"

#include <cmath>
#include <gtest/gtest.h>

// The numbers that reach the radio: frequencies, steps, modes and slider values.
TEST(NumberText, ReadsRoundsAndWritesTheNumbersOfTheRadio)
{
    const std::pair<const char*, double> read[] = {
        {"00014060000", 14060000.0}, {" 10 ", 10.0}, {"+5", 5.0}, {"-500", -500.0},
        {".5", 0.5},                 {"7.", 7.0},    {"  -0.25", -0.25}};
    for (const auto& [text, value] : read)
        EXPECT_DOUBLE_EQ(NumberText::ParseDecimal(text), value) << text;
    for (const char* text : {"", " ", "10;", "1 0", "+", ".", "1.2.3", "0x10", "1e5", "--1", "\t10", "١٠", "nan"}) {
        EXPECT_EQ(ErrorNumberOf([&] { NumberText::ParseDecimal(QString::fromUtf8(text)); }), NumberedError::kTypeMismatch)
            << text;
    }
    EXPECT_EQ(ErrorNumberOf([] { NumberText::ParseDecimal(QString(400, QLatin1Char('9'))); }), NumberedError::kOverflow);

    const std::pair<double, qint16> rounded[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-1.5, -2}, {99.949, 100},
                                                 {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto& [value, to] : rounded)
        EXPECT_EQ(NumberText::ToInt16(value), to) << value;
    for (double value : {32767.5, -32769.0, std::nan("")})
        EXPECT_EQ(ErrorNumberOf([&] { NumberText::ToInt16(value); }), NumberedError::kOverflow) << value;

    EXPECT_EQ(NumberText::BlankLed(100), " 100");
    EXPECT_EQ(NumberText::BlankLed(-3), "-3");
    EXPECT_EQ(NumberText::LeadingNumber(" 3.25abc"), 3.25);
    EXPECT_EQ(NumberText::LeadingNumber("x3"), 0.0);
}
