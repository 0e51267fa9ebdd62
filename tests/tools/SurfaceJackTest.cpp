#include "vsurface/MidiOutPort.h"
#include "vsurface/SurfaceWindow.h"

#include <QDeadlineTimer>
#include <QDial>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <limits>
#include <rtmidi/RtMidi.h>

namespace {
// The device name the connector lists for a port: the client name before the first ':'.
std::string DeviceName(const std::string& portName)
{
    return portName.substr(0, portName.find(':'));
}

// Waits (bounded, for a slow machine) until `count` messages have arrived.
std::vector<std::vector<unsigned char>> Receive(RtMidiIn& in, size_t count, int timeoutMs = 10000)
{
    std::vector<std::vector<unsigned char>> received;
    const QDeadlineTimer deadline(timeoutMs);
    while (received.size() < count) {
        std::vector<unsigned char> message;
        in.getMessage(&message);
        if (!message.empty())
            received.push_back(message);
        else if (deadline.hasExpired())
            break;
        else
            QThread::msleep(5);
    }
    return received;
}

// A new connection carries nothing until the JACK graph has taken it up, a
// few cycles later: probes go out one at a time until one arrives, and any
// probe still on its way is drained before the real messages.
bool WaitUntilConnected(MidiOutPort& port, RtMidiIn& in)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        port.Send({0xB0, 0x01, 0x00});
        if (!Receive(in, 1, 100).empty()) {
            QThread::msleep(200);
            Receive(in, std::numeric_limits<size_t>::max(), 0);
            return true;
        }
    }
    return false;
}
}

TEST(SurfaceOverJack, PortIsListedAsVornMidiAndCarriesTheSurfacesMessages)
{
    MidiOutPort port(RtMidi::UNIX_JACK, QStringLiteral("Vorn-MIDI"), QStringLiteral("out"));
    SurfaceWindow window(&port, QStringLiteral("test"));

    RtMidiIn in(RtMidi::UNIX_JACK, "vsurface-test");
    int found = -1;
    for (unsigned int i = 0; i < in.getPortCount(); ++i)
        if (DeviceName(in.getPortName(i)) == "Vorn-MIDI")
            found = static_cast<int>(i);
    ASSERT_GE(found, 0) << "no input port of a client named Vorn-MIDI";
    in.openPort(static_cast<unsigned int>(found));
    ASSERT_TRUE(WaitUntilConnected(port, in));

    auto* dial = window.findChild<QDial*>("dial");
    dial->setValue(dial->value() + 1);
    QTest::mouseClick(window.findChild<QPushButton*>("button4"), Qt::LeftButton);

    using Bytes = std::vector<unsigned char>;
    EXPECT_EQ(Receive(in, 3),
              (std::vector<Bytes>{{0xB0, 0x64, 0x41}, {0xB0, 0x04, 0x7F}, {0xB0, 0x04, 0x00}}));
}
