#include "support/QtPrinters.h"
#include "FakeSerialPort.h"

#include "core/IIndicator.h"
#include "cat/CatLink.h"
#include "cat/CatParser.h"
#include "core/RadioState.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingIndicator.h"
#include "support/RecordingLog.h"

#include <gtest/gtest.h>

namespace {
const QByteArray kIf38 = "IF00014060000     +000000 0003000001 ;";

// A CatLink on a scripted port, with everything it touches recorded.
struct LinkRig {
    FakeSerialPort port;
    RecordingLog log;
    RecordingIndicator lamp;
    RecordingAlerts alerts;
    RadioState state;
    CatParser parser{state, lamp, alerts};
    CatLink link{port, log, lamp, alerts, state, parser};
    QList<int> marks;
    CatLink::PortMarks setMarks = [this](int n) { marks << n; };

    LinkRig() { port.open = true; }

    void ReadEach(const QByteArrayList& reads)
    {
        port.reads = reads;
        for (int i = 0; i < reads.size(); ++i)
            link.GetCAT();
    }
};
}

TEST(SendCAT, WritesAndLogsTheCommandUnchanged)
{
    LinkRig rig;
    rig.link.SendCAT("FA00014060010;");
    EXPECT_EQ(rig.port.events, QStringList({"write FA00014060010;"}));
    EXPECT_EQ(rig.log.lines, QStringList({"FA00014060010;"}));
}

TEST(SendCAT, ClosedPortOrEmptyTextSendsAndLogsNothing)
{
    LinkRig rig;
    rig.link.SendCAT("");
    rig.port.open = false;
    rig.link.SendCAT("IF;");
    EXPECT_TRUE(rig.port.events.isEmpty());
    EXPECT_TRUE(rig.log.lines.isEmpty());
    EXPECT_TRUE(rig.alerts.boxes.isEmpty());
}

TEST(SendCAT, FailingWriteIsReportedAndNotLogged)
{
    LinkRig rig;
    rig.port.writeFailure = "Cannot write to serial port COM3 (/dev/ttyUSB2): Input/output error";
    rig.link.SendCAT("IF;");
    EXPECT_EQ(rig.alerts.texts(),
              QStringList({"VB6 runtime error (SendCAT): 68 - Cannot write to serial port COM3 "
                           "(/dev/ttyUSB2): Input/output error"}));
    EXPECT_TRUE(rig.log.lines.isEmpty());
}

TEST(GetCAT, RepliesAcrossReadsAreJoinedAndEachParsedOnce)
{
    struct Case {
        const char* name;
        QByteArrayList reads;
        QString vfoA, vfoB, rit;
        QStringList logged;
    };
    const std::vector<Case> cases = {
        {"two replies in one read", {kIf38 + "FB00007030000;"}, "00014060000", "00007030000", "",
         {kIf38 + "FB00007030000;"}},
        {"reply split over two reads", {kIf38.left(20), kIf38.mid(20)}, "00014060000", "", "",
         {kIf38}},
        {"reply split over three reads", {kIf38.left(5), kIf38.mid(5, 20), kIf38.mid(25)},
         "00014060000", "", "", {kIf38}},
        {"whole reply then start of the next", {kIf38 + "FB0000703", "0000;RT1;"}, "00014060000",
         "00007030000", "1", {kIf38 + "FB0000703", "0000;RT1;"}},
        {"start of a reply, then its end with two more", {"FB000", "07030000;RT1;" + kIf38},
         "00014060000", "00007030000", "1", {"FB00007030000;RT1;" + kIf38}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig rig;
        rig.ReadEach(c.reads);
        EXPECT_EQ(rig.state.vfo_a_str, c.vfoA);
        EXPECT_EQ(rig.state.vfo_b_str, c.vfoB);
        EXPECT_EQ(rig.state.rit, c.rit);
        EXPECT_TRUE(rig.state.valid_cat_a);
        EXPECT_EQ(rig.log.lines, c.logged);
        EXPECT_EQ(rig.log.lines.join(""), QString::fromLatin1(c.reads.join("")));
        EXPECT_EQ(rig.lamp.color, IIndicator::kGreen);
        EXPECT_TRUE(rig.alerts.boxes.isEmpty());
    }
}

TEST(GetCAT, ReadWithoutReplyMarksTheLinkDownAndLogsNothing)
{
    for (const QByteArray& read : {QByteArray(), QByteArray("IF0001406")}) {
        SCOPED_TRACE(read.constData());
        LinkRig rig;
        rig.ReadEach({kIf38 + "FB00007030000;"});
        rig.ReadEach({read});
        EXPECT_FALSE(rig.state.valid_cat_a);
        EXPECT_FALSE(rig.state.valid_cat_b);
        EXPECT_EQ(rig.lamp.color, IIndicator::kRed);
        EXPECT_EQ(rig.log.lines.size(), 1);
    }
}

TEST(GetCAT, RejectionReachesParseCAT)
{
    LinkRig rig;
    rig.ReadEach({kIf38 + "FB00007030000;", "?;"});
    EXPECT_TRUE(rig.state.valid_cat_a);
    EXPECT_FALSE(rig.state.valid_cat_b);
    EXPECT_EQ(rig.log.lines.last(), "?;");
}

TEST(GetCAT, EndlessNoiseIsBoundedAndNeverJoinedToALaterReply)
{
    LinkRig rig;
    const QByteArray noise(3 * CatLink::kMaxHeldBytes, 'x');
    rig.ReadEach({noise, noise, "y" + kIf38.mid(2)});
    EXPECT_FALSE(rig.state.valid_cat_a);
    ASSERT_EQ(rig.log.lines.size(), 1);
    EXPECT_EQ(rig.log.lines[0].size(), CatLink::kMaxHeldBytes + kIf38.size() - 1);
    rig.ReadEach({kIf38});
    EXPECT_TRUE(rig.state.valid_cat_a);
}

TEST(GetCAT, ClosedPortIsReportedOnceAndMarksTheLinkDown)
{
    LinkRig rig;
    rig.ReadEach({kIf38});
    rig.port.open = false;
    for (int tick = 0; tick < 3; ++tick)
        rig.link.GetCAT();
    ASSERT_EQ(rig.alerts.boxes.size(), 1);
    EXPECT_EQ(rig.alerts.boxes[0].text,
              "VB6 runtime error (GetCAT): 8018 - Operation valid only when the port is open");
    EXPECT_EQ(rig.alerts.boxes[0].icon, IAlerts::Icon::Information);
    EXPECT_FALSE(rig.state.valid_cat_a);
    EXPECT_EQ(rig.lamp.color, IIndicator::kRed);

    // A read that works again re-arms the report.
    rig.port.open = true;
    rig.ReadEach({kIf38});
    rig.port.open = false;
    rig.link.GetCAT();
    EXPECT_EQ(rig.alerts.boxes.size(), 2);
}

TEST(SelectPort, MarksAndReopensInOrder)
{
    LinkRig rig;
    rig.link.SelectPort(3, rig.setMarks);
    EXPECT_EQ(rig.marks, QList<int>({3}));
    EXPECT_EQ(rig.port.events, QStringList({"close", "open 3"}));
    EXPECT_TRUE(rig.port.open);
}

TEST(SelectPort, FailingOpenIsThrownAfterTheChoiceIsMarked)
{
    LinkRig rig;
    rig.port.openFailure = "Cannot open serial port COM5 (/dev/ttyUSB4): No such file";
    EXPECT_THROW(rig.link.SelectPort(5, rig.setMarks), VbError);
    EXPECT_EQ(rig.marks, QList<int>({5}));
    EXPECT_FALSE(rig.port.open);
}

TEST(SelectPort, NoneClosesAndMarks)
{
    LinkRig rig;
    rig.link.SelectNone(rig.setMarks);
    EXPECT_EQ(rig.marks, QList<int>({0}));
    EXPECT_FALSE(rig.port.open);
}

TEST(SelectPort, FragmentOfTheOldLineIsForgotten)
{
    LinkRig rig;
    rig.ReadEach({"IF000"});
    rig.link.SelectPort(2, rig.setMarks);
    rig.ReadEach({kIf38});
    EXPECT_EQ(rig.log.lines, QStringList({QString::fromLatin1(kIf38)}));
    EXPECT_EQ(rig.state.last_cat_if, QString::fromLatin1(kIf38));
}
