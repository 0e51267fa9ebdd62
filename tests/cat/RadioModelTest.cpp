#include "support/QtPrinters.h"
#include "RadioModel.h"

#include <gtest/gtest.h>

TEST(RadioModel, AnswersLikeAK3)
{
    struct Step {
        QByteArray command;
        QByteArray reply;
    };
    const std::vector<Step> script = {
        {"IF", "IF00014060000     +000000 0003000001 ;"},
        {"FA", "FA00014060000;"},
        {"FB", "FB00007030000;"},
        {"FA00007000000", ""},
        {"UP4", ""},
        {"FA", "FA00007001000;"},
        {"DN", ""},
        {"FA", "FA00007000990;"},
        {"FB-00000000500", ""},
        {"FB", "FB-00000000500;"},
        {"RT", "RT0;"},
        {"RT1", ""},
        {"XT1", ""},
        {"MD2", ""},
        {"IF", "IF00007000990     +000011 0002000001 ;"},
        {"PC 50", ""},
        {"PC", "PC050;"},
        {"KS5", ""},
        {"KS", "KS005;"},
        {"SWT10", ""},
        {"SWH23", ""},
        {"FT1", ""},
        {"NB0", ""},
        {"RC", ""},
        {"AI0", ""},
        // Malformed or out of range
        {"", "?;"},
        {"if", "?;"},
        {"IF1", "?;"},
        {"FA123", "?;"},
        {"RT2", "?;"},
        {"MD0", "?;"},
        {"PC 500", "?;"},
        {"SWX1", "?;"},
        {"NB2", "?;"},
        {"UPX", "?;"},
        {"F;", "?;"},
    };
    RadioModel radio{RadioModel::Settings()};
    for (const Step& step : script) {
        SCOPED_TRACE(step.command.constData());
        EXPECT_EQ(radio.Execute(step.command), step.reply);
    }
    EXPECT_EQ(radio.IfReply().size(), 38);
    EXPECT_EQ(radio.IfReply().at(29), '2');
    EXPECT_EQ(radio.power(), 50);
    EXPECT_EQ(radio.keyerSpeed(), 5);
    EXPECT_EQ(radio.lastCommands().last(), "F;");
}

TEST(RadioModel, WithoutVfoBRejectsFb)
{
    RadioModel::Settings settings;
    settings.hasVfoB = false;
    RadioModel radio(settings);
    EXPECT_EQ(radio.Execute("FB"), "?;");
    EXPECT_EQ(radio.Execute("FB00007000000"), "?;");
}
