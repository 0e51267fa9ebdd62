#pragma once

#include "app/frmVornMidiConnector.h"
#include "core/IIndicator.h"
#include "support/MainWindowParts.h"
#include "widgets/IndicatorShape.h"
#include "widgets/LogView.h"
#include "support/RadioSimProcess.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

// The whole program — its main window on the offscreen platform, with
// recording message boxes — against the radio simulator on COM3. The
// simulator is reached through a fixed link path, so a restarted simulator
// is found again on the same port number, as a radio on /dev/serial/by-id is.
class ProgramHarness : public ::testing::Test {
protected:
    static constexpr int kCom = 3;

    void SetUp() override
    {
        linkPath = t.dir.filePath(QStringLiteral("radio-tty"));
        t.store.Write("ports", QStringLiteral("com%1").arg(kCom), linkPath);
        t.store.Write("settings", "catport", QString::number(kCom));
        t.store.Write("settings", "polltime", "100");
    }

    bool StartRadio(QStringList arguments = {})
    {
        return radio.Start(arguments << QStringLiteral("--link") << linkPath);
    }

    void StartProgram()
    {
        window = std::make_unique<frmVornMidiConnector>(t.store, alerts);
        window->Form_Load();
        window->show();
    }

    // Runs the event loop until `done` holds; false when the deadline passes first.
    template <class Condition>
    bool RunUntil(Condition done, int timeoutMs = 10000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }

    // Lets the program run for a while (a few poll ticks), then checks it still answers.
    void RunFor(int milliseconds)
    {
        const QDeadlineTimer deadline(milliseconds);
        while (!deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    bool LinkUp() const { return window->shpCATConnected->fillColor() == IIndicator::kGreen; }
    bool LinkDown() const { return window->shpCATConnected->fillColor() == IIndicator::kRed; }

    void ChoosePortAgain() { window->mnuPortsCom[kCom - 1]->trigger(); }

    // The simulator's commands received so far.
    int CommandCount() const { return int(radio.ReceivedCommands().size()); }

    QString BoxTexts() const { return alerts.texts().join(QStringLiteral(" | ")); }

    TempSettings t;
    QString linkPath;
    RecordingAlerts alerts;
    RadioSimProcess radio;
    // Declared last: the program goes before the simulator and the settings.
    std::unique_ptr<frmVornMidiConnector> window;
};
