#include "core/IIndicator.h"
#include "support/CatRig.h"
#include "support/FakeSerialPort.h"
#include "support/RadioReply.h"

#include <gtest/gtest.h>

namespace {
const QByteArray kIf38 = IfReply().toLatin1();

// A CatLink on a scripted, open port.
struct LinkRig : CatRig<FakeSerialPort> {
    LinkRig() { port.open = true; }
    void ReadEach(const QByteArrayList& reads)
    {
        port.reads = reads;
        for (int i = 0; i < reads.size(); ++i)
            link.GetCAT();
    }
};
}

TEST(CatLink, CommandsGoOutAndIntoTheLogUnchangedOrNotAtAll)
{
    const struct {
        const char* command;
        bool open;
        QString writeFailure;
        QStringList events, logged, boxes;
    } cases[] = {
        {"FA00014060010;", true, "", {"write FA00014060010;"}, {"FA00014060010;"}, {}},
        {"", true, "", {}, {}, {}},
        {"IF;", false, "", {}, {}, {}},
        {"IF;", true, "Cannot write to serial port COM3 (/dev/ttyUSB2): Input/output error", {}, {},
         {"VB6 runtime error (SendCAT): 68 - Cannot write to serial port COM3 (/dev/ttyUSB2): Input/output error"}},
    };
    for (const auto& c : cases) {
        LinkRig rig;
        rig.port.open = c.open;
        rig.port.writeFailure = c.writeFailure;
        rig.link.SendCAT(c.command);
        EXPECT_EQ(rig.port.events, c.events) << c.command;
        EXPECT_EQ(rig.log.lines, c.logged) << c.command;
        EXPECT_EQ(rig.alerts.texts(), c.boxes) << c.command;
    }
}

// Replies split over reads are joined, and several in one read taken apart:
// each reaches ParseCAT once and whole, and the log shows every byte once.
TEST(CatLink, RepliesAcrossReadsAreJoinedAndEachParsedOnce)
{
    const struct {
        const char* name;
        QByteArrayList reads;
        QString vfoA, vfoB, rit;
        QStringList logged;
        bool validA, validB;
    } cases[] = {
        {"two replies in one read", {kIf38 + "FB00007030000;"}, "00014060000", "00007030000", "",
         {kIf38 + "FB00007030000;"}, true, true},
        {"split over three reads", {kIf38.left(5), kIf38.mid(5, 20), kIf38.mid(25)}, "00014060000", "",
         "", {kIf38}, true, false},
        {"whole reply, then the start of the next", {kIf38 + "FB0000703", "0000;RT1;"}, "00014060000",
         "00007030000", "1", {kIf38 + "FB0000703", "0000;RT1;"}, true, true},
        {"a rejection", {kIf38, "?;"}, "00014060000", "", "", {kIf38, "?;"}, true, false},
        {"a read without a reply takes the link down", {kIf38 + "FB00007030000;", "IF0001406"},
         "00014060000", "00007030000", "", {kIf38 + "FB00007030000;"}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig rig;
        rig.ReadEach(c.reads);
        EXPECT_EQ(rig.state.vfo_a_str, c.vfoA);
        EXPECT_EQ(rig.state.vfo_b_str, c.vfoB);
        EXPECT_EQ(rig.state.rit, c.rit);
        EXPECT_EQ(rig.state.valid_cat_a, c.validA);
        EXPECT_EQ(rig.state.valid_cat_b, c.validB);
        EXPECT_EQ(rig.log.lines, c.logged);
        EXPECT_EQ(rig.lamp.color, c.validA ? IIndicator::kGreen : IIndicator::kRed);
        EXPECT_TRUE(rig.alerts.boxes.isEmpty());
    }
}

TEST(CatLink, EndlessNoiseIsBoundedAndNeverJoinedToALaterReply)
{
    LinkRig rig;
    const QByteArray noise(3 * CatLink::kMaxHeldBytes, 'x');
    rig.ReadEach({noise, noise, "y" + kIf38.mid(2)});
    EXPECT_FALSE(rig.state.valid_cat_a);
    ASSERT_EQ(rig.log.lines.size(), 1);
    EXPECT_EQ(rig.log.lines[0].size(), CatLink::kMaxHeldBytes + kIf38.size() - 1);
    rig.ReadEach({kIf38});
    EXPECT_TRUE(rig.state.valid_cat_a);

    // A fragment of the old line means nothing on a newly chosen port.
    rig.log.lines.clear();
    rig.ReadEach({"IF000"});
    rig.link.SelectPort(2, rig.setMarks);
    rig.ReadEach({kIf38});
    EXPECT_EQ(rig.log.lines, QStringList({QString::fromLatin1(kIf38)}));
}

TEST(CatLink, ClosedPortIsReportedOnceUntilAReadWorksAgain)
{
    LinkRig rig;
    rig.ReadEach({kIf38});
    rig.port.open = false;
    for (int tick = 0; tick < 3; ++tick)
        rig.link.GetCAT();
    EXPECT_EQ(rig.alerts.texts(),
              QStringList{"VB6 runtime error (GetCAT): 8018 - Operation valid only when the port is open"});
    EXPECT_FALSE(rig.state.valid_cat_a);
    EXPECT_EQ(rig.lamp.color, IIndicator::kRed);
    rig.port.open = true;
    rig.ReadEach({kIf38});
    rig.port.open = false;
    rig.link.GetCAT();
    EXPECT_EQ(rig.alerts.boxes.size(), 2);
}

TEST(CatLink, PortChoiceClosesMarksAndOpensInOrder)
{
    LinkRig rig;
    rig.link.SelectPort(3, rig.setMarks);
    EXPECT_EQ(rig.port.events, QStringList({"close", "open 3"}));
    rig.port.openFailure = "Cannot open serial port COM5 (/dev/ttyUSB4): No such file";
    EXPECT_THROW(rig.link.SelectPort(5, rig.setMarks), VbError);
    EXPECT_FALSE(rig.port.open);
    rig.link.SelectNone(rig.setMarks);
    EXPECT_EQ(rig.marks, QList<int>({3, 5, 0}));
}

// Other programs are told the radio is reachable only while its line is open
// and it answers; a port just closed counts as down before the next poll.
TEST(CatLink, IsUpOnlyWhileThePortIsOpenAndTheRadioAnswers)
{
    LinkRig rig;
    EXPECT_FALSE(rig.link.LinkUp());
    rig.ReadEach({kIf38});
    EXPECT_TRUE(rig.link.LinkUp());
    rig.link.SelectNone(rig.setMarks);
    EXPECT_TRUE(rig.state.valid_cat_a);
    EXPECT_FALSE(rig.link.LinkUp());
}
