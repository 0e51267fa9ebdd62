// The simulator keys, unkeys and splits like a K3, and its status reply
// carries both states to the program's copy of the radio.
#include "RadioModel.h"
#include "cat/CatParser.h"
#include "core/RadioState.h"
#include "support/QtPrinters.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingIndicator.h"

#include <gtest/gtest.h>

TEST(TransmitSplitStatus, SimulatorStatusReachesTheRadioState)
{
    RadioModel radio{RadioModel::Settings()};
    RadioState state;
    RecordingIndicator lamp;
    RecordingAlerts alerts;
    CatParser parser(state, lamp, alerts);
    auto parseStatus = [&] { parser.ParseCAT(QString::fromLatin1(radio.IfReply())); };

    parseStatus();
    EXPECT_EQ(state.tx, "0");
    EXPECT_EQ(state.split, "0");
    EXPECT_EQ(radio.Execute("TX"), "");
    EXPECT_EQ(radio.Execute("FT1"), "");
    parseStatus();
    EXPECT_EQ(state.tx, "1");
    EXPECT_EQ(state.split, "1");

    EXPECT_EQ(radio.Execute("RX"), "");
    EXPECT_FALSE(radio.transmitting());
    for (const char* bad : {"TX1", "FT2"})
        EXPECT_EQ(radio.Execute(bad), "?;") << bad;
    // A status reply of another length is not trusted for either.
    parser.ParseCAT(QString::fromLatin1(radio.IfReply().left(36) + ";"));
    EXPECT_EQ(state.tx, "1");
}
