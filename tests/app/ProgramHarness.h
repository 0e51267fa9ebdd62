#pragma once

#include "app/frmVornMidiConnector.h"
#include "core/IIndicator.h"
#include "midi/frmConfig_Midi.h"
#include "support/JackMidiSource.h"
#include "support/MainWindowParts.h"
#include "support/RadioSimProcess.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"
#include "support/WaitFor.h"
#include "widgets/IndicatorShape.h"
#include "widgets/LogView.h"

#include <QAction>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

// The whole program — its main window offscreen, with recording message
// boxes — against the radio simulator on COM3 and, when a test asks for it, a
// JACK surface named "Vorn-MIDI" that is connected automatically at start.
// The simulator is reached through a fixed link path, so a restarted
// simulator is found again on the same port number, as a radio on
// /dev/serial/by-id is.
class ProgramHarness : public ::testing::Test {
protected:
    static constexpr int kCom = 3;

    void SetUp() override
    {
        linkPath = t.dir.filePath(QStringLiteral("radio-tty"));
        t.store.Write("ports", QStringLiteral("com%1").arg(kCom), linkPath);
        t.store.Write("settings", "catport", QString::number(kCom));
        t.store.Write("settings", "polltime", "100");
        t.store.Write("settings", "mautoconnect", "1");
    }

    bool StartRadio(QStringList arguments = {})
    {
        return radio.Start(arguments << "--freq-a" << "00014060000" << "--link" << linkPath);
    }
    void StartProgram(ISettingsStore* store = nullptr)
    {
        window = std::make_unique<frmVornMidiConnector>(store ? *store : t.store, alerts);
        window->Form_Load();
        window->show();
    }
    // Simulator, surface and program, with the link up.
    void StartAll()
    {
        surface = std::make_unique<JackMidiSource>();
        ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
        StartProgram();
        ASSERT_EQ(window->shpMidiEnabled->fillColor(), IIndicator::kGreen) << BoxTexts();
        ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
    }

    // Works a control of the surface until the radio has received `command`
    // (input that arrives while the link is down is ignored by design).
    bool RadioGets(const QString& command, unsigned char control = 0x64, unsigned char value = 0x41)
    {
        return WaitFor([&] {
            if (radio.ReceivedCommands().contains(command))
                return true;
            surface->SendControlChange(control, value);
            return WaitFor([&] { return radio.ReceivedCommands().contains(command); }, 300);
        });
    }

    frmConfig_Midi* OpenMidiSetup()
    {
        window->cmdConfigMidi->click();
        return window->findChild<frmConfig_Midi*>();
    }
    static void CloseMidiSetup(frmConfig_Midi* setup)
    {
        setup->cmdExit_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    bool LinkUp() const { return window->shpCATConnected->fillColor() == IIndicator::kGreen; }
    bool LinkDown() const { return window->shpCATConnected->fillColor() == IIndicator::kRed; }
    void ChoosePortAgain() { window->mnuPortsCom[kCom - 1]->trigger(); }
    int CommandCount() const { return int(radio.ReceivedCommands().size()); }
    int PollInterval() const { return Timer(*window, "PollTimer")->interval(); }
    void RunFor(int milliseconds) { WaitFor([] { return false; }, milliseconds); }
    std::string BoxTexts() const { return alerts.texts().join(QStringLiteral(" | ")).toStdString(); }

    TempSettings t;
    QString linkPath;
    RecordingAlerts alerts;
    RadioSimProcess radio;
    std::unique_ptr<JackMidiSource> surface;
    // Declared last: the program goes before the simulator and the settings.
    std::unique_ptr<frmVornMidiConnector> window;
};
