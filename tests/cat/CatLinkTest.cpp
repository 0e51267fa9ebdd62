#include "support/CatRig.h"
#include "support/FakeCatLine.h"
#include "support/RadioReply.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

namespace {
const QByteArray kIf38 = IfReply().toLatin1();
const QString kClosedBox = "VB6 runtime error (GetCAT): 8018 - Operation valid only when the port is open";

// A CatLink on a scripted, open port.
struct LinkRig : CatRig<FakeCatLine> {
    LinkRig() { port.open = true; }
    void ReadEach(const QByteArrayList& reads)
    {
        port.reads = reads;
        for (int i = 0; i < reads.size(); ++i)
            link.ReadReplies();
    }
};
}

TEST(CatLink, CommandsGoOutAndIntoTheLogUnchangedOrNotAtAll)
{
    const QString failure = "Cannot write to serial port COM3 (/dev/ttyUSB2): Input/output error";
    const struct { QString command; bool open; QString writeFailure; bool sent; } cases[] = {
        {"FA00014060010;", true, "", true}, {"", true, "", false}, {"IF;", false, "", false}, {"IF;", true, failure, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.toStdString() + (c.open ? " open " : " closed ") + c.writeFailure.toStdString());
        LinkRig rig;
        rig.port.open = c.open;
        rig.port.writeFailure = c.writeFailure;
        rig.link.Send(c.command);
        EXPECT_EQ(rig.port.events, c.sent ? QStringList{"write " + c.command} : QStringList());
        EXPECT_EQ(rig.log.lines, c.sent ? QStringList{c.command} : QStringList());
        EXPECT_EQ(rig.alerts.texts(), c.writeFailure.isEmpty() ? QStringList()
                                                               : QStringList{"VB6 runtime error (SendCAT): 68 - " + failure});
    }
}

// Replies split over reads are joined, several in one read taken apart, and
// noise before a reply passed over: each reaches the radio once and whole, and
// the log shows every byte once. Endless noise is held only up to a bound.
TEST(CatLink, RepliesAcrossReadsAreJoinedAndEachParsedOnce)
{
    const QByteArray noise(3 * CatLink::kMaxHeldBytes, 'x');
    // state: VFO A | VFO B | RIT | whether A and B are known
    const struct { const char* name; QByteArrayList reads; QString state; QStringList logged; } cases[] = {
        {"two replies in one read", {kIf38 + "FB00007030000;"}, "14060000|7030000|?|AB", {kIf38 + "FB00007030000;"}},
        {"split over three reads", {kIf38.left(5), kIf38.mid(5, 20), kIf38.mid(25)}, "14060000|0|?|A-", {kIf38}},
        {"whole reply, the start of the next, then its rest, RIT and a rejection", {kIf38 + "FB0000703", "0000;RT1;?;"},
         "14060000|7030000|1|AB", {kIf38 + "FB0000703", "0000;RT1;?;"}},
        {"a read without a reply takes the link down", {kIf38 + "FB00007030000;", "IF0001406"},
         "14060000|7030000|?|--", {kIf38 + "FB00007030000;"}},
        {"noise before a reply", {"\x13\xff" + kIf38}, "14060000|0|?|A-", {QString::fromLatin1("\x13\xff" + kIf38)}},
        {"endless noise, never joined to a later reply", {noise, noise, "y" + kIf38.mid(2)}, "0|0|?|--",
         {QString(CatLink::kMaxHeldBytes, 'x') + "y" + kIf38.mid(2)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig rig;
        rig.ReadEach(c.reads);
        const RadioState& s = rig.state();
        const QString rit = s.rit ? QString::number(*s.rit) : "?";
        EXPECT_EQ(QStringList({QString::number(s.vfoA), QString::number(s.vfoB), rit,
                               QString(s.answering ? "A" : "-") + (s.vfoBKnown ? "B" : "-")})
                      .join('|'), c.state);
        EXPECT_EQ(rig.log.lines, c.logged);
        EXPECT_TRUE(rig.alerts.boxes.isEmpty());
    }
}

// A status reply to a query that a later command overtook proves the link,
// but the wheel has moved the radio on since: its frequency is not taken,
// whether it comes within its tick or after it ended.
TEST(CatLink, ReplyOvertakenByACommandIsNotTaken)
{
    for (const bool late : {false, true}) {
        LinkRig rig;
        rig.link.Ask("IF;");
        rig.link.Send("FA00014060010;");
        if (late)
            rig.link.ForgetQueries();
        rig.ReadEach({kIf38});
        EXPECT_TRUE(rig.state().answering);
        EXPECT_EQ(rig.state().vfoA, 0) << "late: " << late;
        rig.link.Ask("IF;");
        rig.ReadEach({kIf38});
        EXPECT_EQ(rig.state().vfoA, 14060000);
    }
}

// A query refused ("?;") or left without a reply within its tick no longer
// waits: the next tick's replies are taken although the wheel moved between.
TEST(CatLink, RefusedOrLostQueriesNoLongerWait)
{
    LinkRig rig;
    for (const char* query : {"IF;", "FB;", "RT;"})
        rig.link.Ask(query);
    rig.ReadEach({kIf38 + "?;"});
    rig.link.ForgetQueries();
    rig.link.Send("FA00014060010;");
    for (const char* query : {"IF;", "FB;", "RT;"})
        rig.link.Ask(query);
    rig.ReadEach({IfReply("00014060010").toLatin1() + "FB00007030020;RT1;"});
    EXPECT_EQ(QString("%1|%2|%3").arg(rig.state().vfoA).arg(rig.state().vfoB).arg(rig.state().rit.value_or(false)),
              "14060010|7030020|1");
}

// Steps go out one command each while the line keeps up. While it holds
// unsent output, the newest step of a VFO waits, replacing the one before;
// it goes out before anything else is written, or once the line has drained.
TEST(CatLink, StepsFoldOnlyWhileTheLineIsBusy)
{
    LinkRig rig;
    const auto step = [&](int hertz, const char* vfo = "FA") {
        rig.link.SendStep(QString::asprintf("%s%011d;", vfo, hertz));
    };
    step(14060010);
    step(14060020);
    rig.port.unsent = 14;
    step(14060030);
    step(14060040);
    step(7030010, "FB");
    rig.link.Send("MD3;");
    step(14060050);
    rig.link.Ask("IF;");
    step(14060060);
    step(14060070);
    const QStringList busy = rig.port.events;
    rig.port.unsent = 0;
    EXPECT_TRUE(WaitFor([&] { return rig.port.events.size() > busy.size(); }, 1000));
    EXPECT_EQ(rig.port.events.join(' ').remove("write "),
              "FA00014060010; FA00014060020; FA00014060040; FB00007030010; MD3; FA00014060050; IF; FA00014060070;");
}

// Choosing a port closes the old one first and sets the menu's marks even when
// the new one cannot be opened; a fragment from the old line is forgotten.
// Other programs are told the radio is reachable only while its line is open
// and it answers. A closed port is reported once until a read works again.
TEST(CatLink, PortChoiceAndLoss)
{
    LinkRig rig;
    rig.ReadEach({"IF000"});
    rig.link.SelectPort(3, rig.setMarks);
    EXPECT_EQ(rig.port.events, QStringList({"read", "close", "open 3"}));
    EXPECT_FALSE(rig.state().answering);
    rig.ReadEach({kIf38});
    EXPECT_EQ(rig.log.lines, QStringList({QString::fromLatin1(kIf38)}));
    EXPECT_TRUE(rig.state().answering);

    rig.port.open = false;
    for (int tick = 0; tick < 3; ++tick)
        rig.link.ReadReplies();
    EXPECT_FALSE(rig.state().answering);
    EXPECT_EQ(rig.alerts.texts(), QStringList{kClosedBox});
    EXPECT_FALSE(rig.state().answering);
    rig.port.open = true;
    rig.ReadEach({kIf38});
    rig.port.open = false;
    rig.link.ReadReplies();
    EXPECT_EQ(rig.alerts.texts(), QStringList({kClosedBox, kClosedBox}));

    rig.port.openFailure = "Cannot open serial port COM5 (/dev/ttyUSB4): No such file";
    EXPECT_THROW(rig.link.SelectPort(5, rig.setMarks), NumberedError);
    EXPECT_EQ(rig.link.ChosenPort(), 5);
    rig.link.SelectNone(rig.setMarks);
    EXPECT_EQ(rig.marks, QList<int>({3, 5, 0}));
}
