#include "cat/CatParser.h"
#include "cat/CatRadio.h"
#include "core/Options.h"
#include "core/RadioState.h"
#include "rigctl/RigctlSession.h"
#include "support/QtPrinters.h"
#include "support/RadioReply.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingCatLink.h"
#include "support/RecordingLamp.h"

#include <gtest/gtest.h>
#include <functional>

// One request line against a radio on the program's own link, polled at VFO
// A 14.060 MHz, VFO B 7.030 MHz, mode 2 (or the row's), receiving, no split,
// as changed by the row: the answer and the commands sent.
TEST(RigctlSession, AnswersFromTheStateAndSendsTheRigTypesCommands)
{
    struct Case {
        const char* rigtype;
        QByteArray line, answer;
        QStringList sent;
        std::function<void(RadioState&)> change = nullptr;
        char mode = '2';
    };
    const auto LinkDown = [](RadioState& r) { r.answering = r.vfoBKnown = false; };
    const std::vector<Case> cases = {
        {"flex", "\\get_freq\r", "14060000\n", {}},
        {"flex", "F abc T 0", "RPRT -1\nRPRT 0\n", {"RX;"}},
        {"flex", "F 1e12", "RPRT -1\n", {}},
        {"flex", "F nan F inf F 0.4 F 1 F 99999999999", "RPRT -1\nRPRT -1\nRPRT -1\nRPRT 0\nRPRT 0\n",
         {"FA00000000001;", "FA99999999999;"}},
        {"flex", "m", "PKTLSB\n3000\n", {}, nullptr, '6'},
        {"elecraft", "m", "PKTUSB\n3000\n", {}, nullptr, '6'},
        {"flex", "m", "RPRT -8\n", {}, nullptr, '8'},
        {"flex", "M PKTUSB 0 m", "RPRT 0\nPKTUSB\n3000\n", {"MD9;"}},
        {"flex", "M CW 500", "RPRT 0\n", {"MD3;"}},
        {"elecraft", "M CW 500", "RPRT 0\n", {"MD3;", "BW0050;"}},
        {"elecraft", "M CWR -1", "RPRT 0\n", {"MD7;"}},
        {"flex", "M CWR -1", "RPRT -1\n", {}},
        {"other", "m", "RPRT -11\n", {}},
        {"other", "f", "14060000\n", {}},
        {"flex", "v V VFOB v f", "VFOA\nRPRT 0\nVFOB\n7030000\n", {}},
        {"flex", "V Sub F 7040000 i", "RPRT 0\nRPRT 0\n7040000\n", {"FB00007040000;"}},
        {"flex", "V MEM T 5 S 1 VFOA", "RPRT -1\nRPRT -1\nRPRT -1\n", {}},  // no such VFO, PTT, split on VFO A
        {"flex", "S 0 VFOA", "RPRT 0\n", {"FT0;"}},
        // The VFO names clients send.
        {"flex", "V VFOB V VFOA f V VFOB V Main f", "RPRT 0\nRPRT 0\n14060000\nRPRT 0\nRPRT 0\n14060000\n", {}},
        {"flex", "V VFOB V MainA f V VFOB V RX f", "RPRT 0\nRPRT 0\n14060000\nRPRT 0\nRPRT 0\n14060000\n", {}},
        {"flex", "V VFOB V currVFO f V VFOB V TX f", "RPRT 0\nRPRT 0\n7030000\nRPRT 0\nRPRT 0\n14060000\n", {}},
        {"flex", "V TX f V VFO f", "RPRT 0\n7030000\nRPRT 0\n7030000\n", {}, [](RadioState& r) { r.split = true; }},
        {"flex", "i", "RPRT -11\n", {}, [](RadioState& r) { r.vfoBKnown = false; }},
        // While the link is down only the session's own answers remain.
        {"flex", "f", "RPRT -6\n", {}, LinkDown},
        {"flex", "F 7074000", "RPRT -6\n", {}, LinkDown},
        {"flex", "\\chk_vfo v", "0\nVFOA\n", {}, LinkDown},
        // Extended answers name their values.
        {"flex", "+f", "get_freq:\nFrequency: 14060000\nRPRT 0\n", {}},
        {"flex", ";F 7074000", "set_freq: 7074000;RPRT 0\n", {"FA00007074000;"}},
        {"flex", "|\\get_mode", "get_mode:|Mode: USB|Passband: 2700|RPRT 0\n", {}},
        {"flex", "+t", "get_ptt:\nRPRT -6\n", {}, LinkDown},
        // Anything else is refused and ends the line.
        {"flex", "\\get_vfo_info VFOA f", "RPRT -11\n", {}},
        {"flex", "+\\set_level RFPOWER 1", "set_level:\nRPRT -11\n", {}},
        {"elecraft", "J 0 f", "RPRT -11\n", {}},
        {"flex", "U NB 1", "RPRT -11\n", {}},
        {"flex", "G XCHG", "RPRT -11\n", {}},
        // The radio's own text is the rest of the line.
        {"flex", "w FA00007074000; FB00007000000;", "RPRT 0\n", {"FA00007074000; FB00007000000;"}},
        {"flex", QByteArray("\x01\xff\x00", 3), "RPRT -11\n", {}},
        {"flex", "", "", {}},
        {"flex", "q f", "RPRT 0\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        Options options;
        options.rigType = c.rigtype;
        RadioState state;
        RecordingLamp lamp;
        RecordingAlerts alerts;
        CatParser parser(state, lamp, alerts, options);
        parser.Take(IfReply("00014060000", QLatin1Char(c.mode)));
        parser.Take("FB00007030000;");
        if (c.change)
            c.change(state);
        RecordingCatLink cat;
        CatRadio radio(cat, parser, state, options);
        RigctlSession session(radio, state, options);
        EXPECT_EQ(session.Answer(c.line), c.answer);
        EXPECT_EQ(cat.commands, c.sent);
    }
}
