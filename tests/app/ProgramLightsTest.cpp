// The real program on a display of its own, against the radio simulator and
// a controller on JACK that listens: its lights follow the radio, whoever
// changes it, come back with the controller and go out at the end.
#include "support/RadioSimProcess.h"
#include "support/RealProgram.h"
#include "support/RigctlClient.h"
#include "support/TempSettings.h"
#include "vsurface/JackSurfacePorts.h"
#include "vsurface/MidiSurfacePorts.h"

#include <QStringList>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// What the controller was sent, as "B0017F" each.
struct Controller {
    Controller() : ports(Open()) {}

    // A server starting or stopping (another build's tests beside these)
    // rewrites JACK's registry of servers, and a client that opens meanwhile
    // may find none: a few tries.
    static std::unique_ptr<JackSurfacePorts> Open()
    {
        constexpr int kTries = 10;
        for (int tried = 1;; ++tried) {
            try {
                return std::make_unique<JackSurfacePorts>("Vorn-MIDI");
            } catch (const MidiSurfacePorts::Error&) {
                if (tried == kTries)
                    throw;
                QThread::msleep(200);
            }
        }
    }

    // Waits until `expected` has come, in this order, among what came since
    // the last expectation was met; what came up to its last message is then
    // set aside, so that an earlier message never meets a later expectation.
    bool Got(const QStringList& expected, int timeoutMs = 15000)
    {
        qsizetype end = 0;
        const bool got = WaitFor([&] {
            Collect();
            int next = 0;
            for (qsizetype i = 0; i < received.size() && next < expected.size(); ++i) {
                if (received[i] == expected[next]) {
                    ++next;
                    end = i + 1;
                }
            }
            return next == expected.size();
        }, timeoutMs);
        if (got)
            received.remove(0, end);
        return got;
    }
    void Collect()
    {
        for (const MidiBytes& m : ports->TakeReceived())
            received << QString::asprintf("%02X%02X%02X", m[0], m[1], m[2]);
    }
    void Press(unsigned char button)
    {
        ports->Send({0xB0, button, 0x7F});
        ports->Send({0xB0, button, 0x00});
    }
    // Presses `button` until `lit` comes: the first presses may come before
    // the program listens.
    bool PressUntil(unsigned char button, const QString& lit)
    {
        return WaitFor([&] {
            Press(button);
            return Got({lit}, 500);
        });
    }

    std::unique_ptr<JackSurfacePorts> ports;
    QStringList received;
};

// Split, RIT and the noise blanker are lit under buttons 1, 2 and 5 of the Flex map.
TEST(ProgramLights, FollowTheRadioComeBackWithTheControllerAndGoOutAtExit)
{
    Xvfb x;
    ASSERT_TRUE(x.Start()) << "Xvfb did not start";
    RadioSimProcess radio;
    ASSERT_TRUE(radio.Start()) << radio.ErrorString().toStdString();
    TempSettings t;
    const quint16 rigctlPort = RigctlClient::FreePort();
    t.store.Write("ports", "com3", radio.PtyPath());
    for (const auto& [key, value] : {std::pair{"catport", QString("3")}, {"polltime", QString("100")},
                                     {"mautoconnect", QString("1")}, {"rigtype", QString("flex")},
                                     {"rigctld", QString("1")}, {"rigctldport", QString::number(rigctlPort)}})
        t.store.Write("settings", key, value);
    auto controller = std::make_unique<Controller>();
    const auto program = StartRealProgram({"--settings", t.store.filePath()}, x.display());
    const QString mainWindow = WindowOf(x, *program);
    ASSERT_FALSE(mainWindow.isEmpty());
    // Every light at connecting is the light table's (and is seen again below
    // when the controller comes back): what the program sends while it
    // starts may miss JACK cycles of a machine under load.
    ASSERT_TRUE(controller->PressUntil(0x01, "B0017F")) << "split on by the button (FT1;)";
    controller->Press(0x05);  // NB1;
    EXPECT_TRUE(controller->Got({"B0057F"})) << "the noise blanker on by the button";
    EXPECT_EQ(RigctlClient::Run(rigctlPort, {"S", "0", "VFOA"}), "");
    EXPECT_TRUE(controller->Got({"B00100"})) << "split off by a logger";
    const qsizetype polls = radio.ReceivedCommands().count("IF");
    ASSERT_TRUE(WaitFor([&] { return radio.ReceivedCommands().count("IF") >= polls + 3; }));
    controller->Collect();
    EXPECT_TRUE(controller->received.isEmpty()) << "sent on polls that changed nothing: "
                                                << controller->received.join(' ').toStdString();

    controller.reset();
    // The program lets the ports of a controller that went away go.
    EXPECT_TRUE(WaitFor([] {
        QProcess list;
        list.start("jack_lsp", {});
        const QByteArray ports = list.waitForFinished(5000) ? list.readAllStandardOutput() : "?";
        return !ports.contains(":MIDI In") && !ports.contains(":MIDI Out");
    }));
    controller = std::make_unique<Controller>();
    EXPECT_TRUE(controller->Got({"B00100", "B00200", "B0057F"})) << "every light again after replugging: "
                                                                 << controller->received.join(' ').toStdString();

    x.Run("xdotool", {"windowfocus", "--sync", mainWindow, "key", "alt+x"});
    ASSERT_TRUE(program->waitForFinished(15000));
    EXPECT_EQ(program->exitCode(), 0);
    EXPECT_TRUE(controller->Got({"B00100", "B00200", "B00500"})) << "every light out at E&xit: "
                                                                 << controller->received.join(' ').toStdString();
}

} // namespace
