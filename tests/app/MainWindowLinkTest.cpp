#include "widgets/IndicatorShape.h"
#include "app/frmVornMidiConnector.h"
#include "support/MainWindowParts.h"
#include "support/JackMidiSource.h"
#include "support/RadioSimProcess.h"
#include "support/WaitFor.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"
#include "update/frmUpdater.h"
#include "UpdateServer.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>

namespace {

class MainWindowLinkTest : public ::testing::Test {
protected:
    void StartRadio(const QStringList& args = {})
    {
        ASSERT_TRUE(radio.Start(args)) << radio.ErrorString().toStdString();
        radio.MapToCom(t.store, 3);
        t.store.Write("settings", "catport", "3");
        t.store.Write("settings", "polltime", "150");
    }

    std::unique_ptr<frmVornMidiConnector> Start()
    {
        auto w = std::make_unique<frmVornMidiConnector>(t.store, alerts);
        w->Form_Load();
        return w;
    }

    bool RadioGot(const QString& command, int timeoutMs = 8000)
    {
        return WaitFor([&] { return radio.ReceivedCommands().contains(command); }, timeoutMs);
    }

    TempSettings t;
    RecordingAlerts alerts;
    RadioSimProcess radio;
};

TEST_F(MainWindowLinkTest, StoredPortOnTheRadioOpensAndPolls)
{
    StartRadio({"--freq-a", "00014060000", "--freq-b", "00007030000"});
    auto w = Start();
    EXPECT_TRUE(alerts.boxes.isEmpty()) << alerts.texts().join("|").toStdString();
    EXPECT_TRUE(w->mnuPortsCom[2]->isChecked());
    ASSERT_TRUE(Timer(*w, "PollTimer")->isActive());
    EXPECT_EQ(Timer(*w, "PollTimer")->interval(), 150);
    EXPECT_TRUE(WaitFor([&] { return w->shpCATConnected->fillColor() == 65280; }));
    EXPECT_TRUE(w->txtCATDump->toPlainText().contains("IF;"));

    // "None" closes the port but leaves polling on; each read then fails.
    w->mnuPortsNone->trigger();
    EXPECT_TRUE(Timer(*w, "PollTimer")->isActive());
    ASSERT_TRUE(WaitFor([&] { return !alerts.boxes.isEmpty(); }));
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (GetCAT): "));
}

TEST_F(MainWindowLinkTest, AutoconnectTunesTheRadioWithBothMaps)
{
    JackMidiSource surface;
    StartRadio({"--freq-a", "00014060000"});
    t.store.Write("settings", "mautoconnect", "1");
    t.store.Write("settings", "rigtype", "flex");
    auto w = Start();
    EXPECT_TRUE(alerts.boxes.isEmpty()) << alerts.texts().join("|").toStdString();
    ASSERT_TRUE(Timer(*w, "tmrMIDI")->isActive());
    EXPECT_EQ(w->shpMidiEnabled->fillColor(), 65280);
    ASSERT_TRUE(WaitFor([&] { return w->shpCATConnected->fillColor() == 65280; }));

    // Flex: wheel up at speed 1 is "#UP10"; button 6 is "#MUP"; slider mode 2 is "#TXPWR".
    surface.SendControlChange(0x64, 0x41);
    ASSERT_TRUE(RadioGot("FA00014060010"));
    surface.SendControlChange(0x68, 0x40);
    ASSERT_TRUE(RadioGot("PC 50"));
    surface.SendControlChange(0x06, 0x7F);
    ASSERT_TRUE(WaitFor([&] {
        return !radio.ReceivedCommands().filter(QRegularExpression("^MD\\d$")).isEmpty();
    }));

    // Elecraft: the same wheel message is the radio's own step "UP1;".
    w->mnuElecraft->trigger();
    surface.SendControlChange(0x64, 0x41);
    ASSERT_TRUE(RadioGot("UP1"));
    EXPECT_TRUE(w->txtMidiInDump->toPlainText().contains("B0 64 41 Timestamp: "));
}

TEST_F(MainWindowLinkTest, AutoconnectIgnoresAnotherFirstDevice)
{
    JackMidiSource other("Some Keyboard");
    t.store.Write("settings", "mautoconnect", "1");
    t.store.Write("settings", "catport", "17");
    auto w = Start();
    EXPECT_FALSE(Timer(*w, "tmrMIDI")->isActive());
    EXPECT_EQ(w->shpMidiEnabled->fillColor(), 255);
}

TEST_F(MainWindowLinkTest, UpdateCommandClosesMidiAndRunsTheCheck)
{
    UpdateServer server;
    ASSERT_TRUE(server.started());
    JackMidiSource surface;
    t.store.Write("settings", "mautoconnect", "1");
    t.store.Write("settings", "catport", "17");
    t.store.Write("updater", "url", server.Url("/ctl/1.1.5/right"));
    auto w = Start();
    ASSERT_TRUE(Timer(*w, "tmrMIDI")->isActive());

    w->mnuUpdate->trigger();
    EXPECT_FALSE(Timer(*w, "tmrMIDI")->isActive());
    EXPECT_EQ(w->shpMidiEnabled->fillColor(), 255);
    auto* updater = w->findChild<frmUpdater*>();
    ASSERT_NE(updater, nullptr);
    EXPECT_TRUE(updater->txtUpdateProgress->toPlainText().contains(
        "Update version is the same or older than current version, update aborted..."));
    ASSERT_FALSE(alerts.boxes.isEmpty());
    EXPECT_EQ(alerts.boxes.last().text, "Please reconnect MIDI device after update.");
    EXPECT_EQ(alerts.boxes.last().title, "Reconnect MIDI Device");
    EXPECT_EQ(alerts.boxes.last().icon, IAlerts::Icon::Information);
    EXPECT_EQ(server.Requests().size(), 1);
}

} // namespace
