#pragma once

#include "cat/SerialLine.h"
#include "support/CatRig.h"
#include "support/RadioSimProcess.h"
#include "support/TempSettings.h"

#include "support/WaitFor.h"

#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// The settings a simulator rig's port reads its device from; built first.
struct SimSettings {
    TempSettings settings;
};

// The whole CAT link on a real pseudo-terminal to the radio simulator, with
// everything it reports to recorded. Connect() with ASSERT_NO_FATAL_FAILURE.
struct SimCatRig : SimSettings, CatRig<SerialLine> {
    static constexpr int kDeadlineMs = 10000;

    SimCatRig() : CatRig<SerialLine>(settings.store) {}

    RadioSimProcess sim;

    void Connect(const QStringList& simArgs, int com)
    {
        ASSERT_TRUE(sim.Start(simArgs)) << sim.ErrorString().toStdString();
        sim.MapToCom(settings.store, com);
        link.SelectPort(com, [this](int n) { marks << n; });
        ASSERT_TRUE(port.IsOpen());
    }

    // One tick of the poll, its pauses run by the event loop; false when it did not end.
    bool PollOnce()
    {
        QEventLoop loop;
        QObject::connect(&poll, &CatPoll::tickFinished, &loop, &QEventLoop::quit);
        QTimer::singleShot(kDeadlineMs, &loop, &QEventLoop::quit);
        poll.Tick();
        if (poll.TickRunning())
            loop.exec();
        return !poll.TickRunning();
    }

    // Polls until `done` holds; the replies of a tick may straddle ticks, so one tick proves nothing.
    bool PollUntil(const std::function<bool()>& done)
    {
        return WaitFor([&] {
            PollOnce();
            return done();
        }, kDeadlineMs);
    }
};
