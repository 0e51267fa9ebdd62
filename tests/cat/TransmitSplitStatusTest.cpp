// The simulator keys, unkeys and splits like a K3, and its status reply
// carries both states to the program's copy of the radio.
#include "RadioModel.h"
#include "cat/CatParser.h"
#include "core/Options.h"
#include "core/RadioState.h"
#include "support/QtPrinters.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLamp.h"

#include <gtest/gtest.h>

TEST(TransmitSplitStatus, SimulatorStatusReachesTheRadioState)
{
    RadioModel radio{RadioModel::Settings()};
    RadioState state;
    RecordingLamp lamp;
    RecordingAlerts alerts;
    Options options;
    CatParser parser(state, lamp, alerts, options);
    const auto flags = [&] {
        return QString("%1%2").arg(state.transmitting.value_or(false)).arg(state.split.value_or(false));
    };
    auto status = [&] {
        parser.Take(QString::fromLatin1(radio.IfReply()));
        return flags();
    };

    EXPECT_EQ(status(), "00");
    EXPECT_EQ(radio.Execute("TX") + radio.Execute("FT1"), "");
    EXPECT_EQ(status(), "11");
    EXPECT_EQ(radio.Execute("RX") + radio.Execute("FT0"), "");
    EXPECT_FALSE(radio.transmitting());
    EXPECT_EQ(radio.Execute("TX1") + radio.Execute("FT2"), "?;?;");
    // A status reply of another length is not trusted for either.
    parser.Take(QString::fromLatin1(radio.IfReply().left(36) + ";"));
    EXPECT_EQ(flags(), "11");
}
