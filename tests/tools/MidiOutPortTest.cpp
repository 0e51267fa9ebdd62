#include "vsurface/MidiOutPort.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

TEST(MidiOutPort, MissingJackServerGivesAClearErrorNotACrash)
{
    qputenv("JACK_NO_START_SERVER", "1");
    const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
    qputenv("JACK_DEFAULT_SERVER", "vsurface-no-such-server-" + pid);
    try {
        MidiOutPort port(RtMidi::UNIX_JACK, QStringLiteral("Vorn-MIDI"), QStringLiteral("out"));
        ADD_FAILURE() << "a port opened without a JACK server";
    } catch (const MidiOutPort::Error& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("Cannot open a virtual MIDI port on Jack"), std::string::npos) << text;
        EXPECT_NE(text.find("Start a JACK server"), std::string::npos) << text;
    }
}
