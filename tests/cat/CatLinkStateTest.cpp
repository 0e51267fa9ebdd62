#include "FakeSerialPort.h"

#include "cat/CatLink.h"
#include "cat/CatParser.h"
#include "core/RadioState.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingIndicator.h"
#include "support/RecordingLog.h"

#include <gtest/gtest.h>

// Other programs are told the radio is reachable only while its line is open
// and it answers; a port just closed counts as down before the next poll.
TEST(CatLinkState, UpOnlyWhileThePortIsOpenAndTheRadioAnswers)
{
    FakeSerialPort port;
    RecordingLog log;
    RecordingIndicator lamp;
    RecordingAlerts alerts;
    RadioState state;
    CatParser parser{state, lamp, alerts};
    CatLink link{port, log, lamp, alerts, state, parser};
    port.open = true;
    EXPECT_FALSE(link.LinkUp());
    port.reads = {"IF00014060000     +000000 0003000001 ;"};
    link.GetCAT();
    EXPECT_TRUE(link.LinkUp());
    link.SelectNone([](int) {});
    EXPECT_TRUE(state.valid_cat_a);
    EXPECT_FALSE(link.LinkUp());
}
