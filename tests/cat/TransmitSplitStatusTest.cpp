// The simulator keys, unkeys and splits like a K3, and its status reply
// carries both states to the program's copy of the radio.
#include "RadioModel.h"
#include "cat/CatRadio.h"
#include "core/Options.h"
#include "support/QtPrinters.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingCatLink.h"

#include <gtest/gtest.h>

TEST(TransmitSplitStatus, SimulatorStatusReachesTheRadioState)
{
    RadioModel radio{RadioModel::Settings()};
    RecordingCatLink link;
    RecordingAlerts alerts;
    Options options;
    CatRadio copy(link, alerts, options);
    const auto flags = [&] {
        return QString("%1%2").arg(copy.State().transmitting.value_or(false)).arg(copy.State().split.value_or(false));
    };
    auto status = [&] {
        copy.TakeReply(QString::fromLatin1(radio.IfReply()), true);
        return flags();
    };

    EXPECT_EQ(status(), "00");
    EXPECT_EQ(radio.Execute("TX") + radio.Execute("FT1"), "");
    EXPECT_EQ(status(), "11");
    EXPECT_EQ(radio.Execute("RX") + radio.Execute("FT0"), "");
    EXPECT_FALSE(radio.transmitting());
    EXPECT_EQ(radio.Execute("TX1") + radio.Execute("FT2"), "?;?;");
    // A status reply of another length is not trusted for either.
    copy.TakeReply(QString::fromLatin1(radio.IfReply().left(36) + ";"), true);
    EXPECT_EQ(flags(), "11");
}
