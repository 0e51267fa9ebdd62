#pragma once

#include "app/MainWindow.h"
#include "midi/MidiSetupWindow.h"
#include "support/JackMidiSource.h"
#include "support/MainWindowParts.h"
#include "support/RadioSimProcess.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"
#include "support/WaitFor.h"
#include "widgets/Lamp.h"
#include "widgets/LogView.h"

#include <QAction>
#include <QPushButton>
#include <gtest/gtest.h>

// The whole program — its main window offscreen, with recording message
// boxes — against the radio simulator on COM3 and a JACK surface named
// "Vorn-MIDI", connected automatically at start unless a test turns that off.
// The simulator is reached through a fixed link path, so a restarted
// simulator is found again on the same port number, as a radio on
// /dev/serial/by-id is.
class ProgramHarness : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.store.Write("ports", "com3", linkPath);
        for (const auto& [key, value] : {std::pair{"catport", "3"}, {"polltime", "100"}, {"mautoconnect", "1"}})
            t.store.Write("settings", key, value);
    }

    bool StartRadio(QStringList arguments = {})
    {
        return radio.Start(arguments << "--freq-a" << "00014060000" << "--link" << linkPath);
    }
    // The program, and a surface unless the test made its own; its boxes are
    // recorded unless the test gives others.
    void StartProgram(ISettingsStore* store = nullptr, IAlerts* boxes = nullptr)
    {
        if (!surface) surface = std::make_unique<JackMidiSource>();
        window = std::make_unique<MainWindow>(store ? *store : t.store, boxes ? *boxes : alerts);
        window->Start();
        window->show();
    }
    // Simulator and program, with the link up and MIDI connected when autoconnect is on.
    void StartAll()
    {
        ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
        StartProgram();
        ASSERT_EQ(MidiLampGreen(), t.store.Read("settings", "mautoconnect", "") == "1") << BoxTexts();
        ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
    }

    // Sends `message` from the surface every 300 ms until `done` holds.
    bool SendUntil(const JackMidiSource::Bytes& message, const std::function<bool()>& done)
    {
        const auto sendAndWait = [&] { surface->Send(message); return WaitFor(done, 300); };
        return done() || WaitFor(sendAndWait);
    }
    // Works a control of the surface until the radio has received `command`
    // (input that arrives while the link is down is ignored by design).
    bool RadioGets(const QString& command, unsigned char control = 0x64, unsigned char value = 0x41)
    {
        return SendUntil({0xB0, control, value}, [&] { return radio.ReceivedCommands().contains(command); });
    }

    MidiSetupWindow* OpenMidiSetup() { return window->PressMidiSetup(); }

    bool MidiLampGreen() const { return window->MidiLampUp(); }
    bool LinkUp() const { return window->CatLampUp(); }
    void ChoosePortAgain() { window->Menus().ChooseComPort(3); }
    int CommandCount() const { return int(radio.ReceivedCommands().size()); }
    int PollInterval() const { return Timer(*window, "catPollTimer")->interval(); }
    void RunFor(int milliseconds) { WaitFor([] { return false; }, milliseconds); }
    std::string BoxTexts() const { return alerts.texts().join(QStringLiteral(" | ")).toStdString(); }

    TempSettings t;
    QString linkPath = t.dir.filePath(QStringLiteral("radio-tty"));
    RecordingAlerts alerts;
    RadioSimProcess radio;
    std::unique_ptr<JackMidiSource> surface;
    // Declared last: the program goes before the simulator and the settings.
    std::unique_ptr<MainWindow> window;
};
