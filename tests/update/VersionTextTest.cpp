#include "support/QtPrinters.h"
#include "update/VersionText.h"

#include <gtest/gtest.h>

// Versions compare number by number; text that is not numbers and dots is
// never newer.
TEST(VersionText, ComparesNumberByNumberAndRefusesOtherText)
{
    const struct { const char *offered, *running; bool newer; } cases[] = {
        {"1.1.10", "1.1.9", true},   // text order would call this older
        {"1.1.9", "1.1.10", false},
        {"1.2", "1.1.5", true},
        {"1.1.5", "1.1.5", false},   // equal is not newer
        {"1.1.4", "1.1.5", false},
        {"2.0.0", "1.9.99", true},
        {"1.1.5.1", "1.1.5", true},
        {"1.1.5.0", "1.1.5", false},
        {"1.1", "1.1.5", false},
        {"01.01.06", "1.1.5", true},
        {"1.1.99999999999999999999", "1.1.5", true},  // beyond any integer type
        {"1.1.5", "1.1.99999999999999999999", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionText::IsNewer(c.offered, c.running), c.newer) << c.offered << " vs " << c.running;

    for (const char* text : {"", "v2.0", "2.0beta", "2..0", ".2", "2.", "2.0 ", " 2.0", "2,0", "９.9"}) {
        EXPECT_FALSE(VersionText::IsNumbersAndDots(QString::fromUtf8(text))) << text;
        EXPECT_FALSE(VersionText::IsNewer(QString::fromUtf8(text), "1.1.5")) << text;
    }
    EXPECT_TRUE(VersionText::IsNumbersAndDots("9") && VersionText::IsNumbersAndDots("1.1.5"));
}
