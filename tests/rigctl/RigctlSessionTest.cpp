#include "cat/CatRadio.h"
#include "core/Options.h"
#include "rigctl/RigctlSession.h"
#include "support/QtPrinters.h"
#include "support/RadioReply.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingCatLink.h"

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
        std::function<void(CatRadio&)> change = nullptr;
        char mode = '2';
    };
    const auto LinkDown = [](CatRadio& r) { r.TakeSilence(); };
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
        {"flex", "V TX f V VFO f", "RPRT 0\n7030000\nRPRT 0\n7030000\n", {}, [](CatRadio& r) { r.SetSplit(true); }},
        {"flex", "i", "RPRT -11\n", {}, [](CatRadio& r) { r.TakeRefusal("FB"); }},
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
        {"elecraft", "J 0 f", "RPRT -11\n", {}},
        {"flex", "U COMP 1", "RPRT -11\n", {}},
        {"flex", "l AF", "RPRT -11\n", {}},
        // What the link carries out of Hamlib's functions, levels and VFO
        // operations; reads answer from the state the commands moved.
        {"flex", "u NB U NB 1 u NB", "RPRT -8\nRPRT 0\n1\n", {"NB1;"}},
        {"elecraft", "+\\set_level RFPOWER 0.25", "set_level: RFPOWER 0.25\nRPRT 0\n", {"PC 25;"}},
        {"flex", "L KEYSPD 22 l KEYSPD l RFPOWER", "RPRT 0\n22\nRPRT -8\n", {"KS 22;"}},
        {"flex", "U RIT 1 u RIT", "RPRT 0\n1\n", {"RT1;"}},
        {"flex", "G XCHG G CPY", "RPRT 0\nRPRT 0\n", {"FA00007030000;", "FB00014060000;", "FB00014060000;"}},
        // The radio's own text is the rest of the line.
        {"flex", "w FA00007074000; FB00007000000;", "RPRT 0\n", {"FA00007074000; FB00007000000;"}},
        {"flex", QByteArray("\x01\xff\x00", 3), "RPRT -11\n", {}},
        {"flex", "", "", {}},
        {"flex", "q f", "RPRT 0\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        Options options;
        options.SetText(Options::Key::RigType, c.rigtype);
        RecordingAlerts alerts;
        RecordingCatLink cat;
        CatRadio radio(cat, alerts, options);
        radio.TakeReply(IfReply("00014060000", QLatin1Char(c.mode)), true);
        radio.TakeReply("FB00007030000;", true);
        if (c.change)
            c.change(radio);
        cat.commands.clear();
        RigctlSession session(radio, options);
        EXPECT_EQ(session.Answer(c.line), c.answer);
        EXPECT_EQ(cat.commands, c.sent);
    }
}
