#pragma once

#include "cat/CatLink.h"
#include "cat/CatParser.h"
#include "cat/CatPoll.h"
#include "cat/QtSerialPort.h"
#include "core/RadioState.h"
#include "support/RadioSimProcess.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingIndicator.h"
#include "support/RecordingLog.h"
#include "support/TempSettings.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// The whole CAT link on a real pseudo-terminal to the radio simulator, with
// everything it reports to recorded. Connect() with ASSERT_NO_FATAL_FAILURE.
struct SimCatRig {
    static constexpr int kDeadlineMs = 10000;

    TempSettings settings;
    RadioSimProcess radio;
    QtSerialPort port{settings.store};
    RecordingLog log;
    RecordingIndicator lamp;
    RecordingAlerts alerts;
    RadioState state;
    CatParser parser{state, lamp, alerts};
    CatLink link{port, log, lamp, alerts, state, parser};
    CatPoll poll{link, alerts};
    QList<int> marks;

    void Connect(const QStringList& simArgs, int com)
    {
        ASSERT_TRUE(radio.Start(simArgs)) << radio.ErrorString().toStdString();
        radio.MapToCom(settings.store, com);
        link.SelectPort(com, [this](int n) { marks << n; });
        ASSERT_TRUE(port.IsOpen());
    }

    // One tick of the poll, its pauses run by the event loop; false when it did not end.
    bool PollOnce()
    {
        QEventLoop loop;
        QObject::connect(&poll, &CatPoll::tickFinished, &loop, &QEventLoop::quit);
        QTimer::singleShot(kDeadlineMs, &loop, &QEventLoop::quit);
        poll.PollTimer_Timer();
        if (poll.TickRunning())
            loop.exec();
        return !poll.TickRunning();
    }

    // Polls until `done` holds; the replies of a tick may straddle ticks, so one tick proves nothing.
    bool PollUntil(const std::function<bool()>& done)
    {
        const QDeadlineTimer deadline(kDeadlineMs);
        while (!done() && !deadline.hasExpired())
            PollOnce();
        return done();
    }

    // Waits until the radio has received `command` (without its ";").
    bool Received(const QString& command) const
    {
        const QDeadlineTimer deadline(kDeadlineMs);
        while (!radio.ReceivedCommands().contains(command) && !deadline.hasExpired())
            QThread::msleep(5);
        return radio.ReceivedCommands().contains(command);
    }
};
