#pragma once

#include "hamlib/HamlibThread.h"
#include "hamlib/HamlibWorker.h"
#include "support/QtPrinters.h"
#include "support/WaitFor.h"

#include <QRegularExpression>
#include <QSemaphore>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

// A worker on its thread, and what it tells, gathered on the test's thread.
struct WorkerEvents : QObject {
    WorkerEvents()
    {
        connect(&worker, &HamlibWorker::polled, this, [this](const HamlibReading& r) { readings << r; });
        connect(&worker, &HamlibWorker::failed, this, [this](const QString& m) { failures << m; });
        connect(&worker, &HamlibWorker::recovered, this, [this] { ++recoveries; });
        connect(&worker, &HamlibWorker::refused, this, [this](const HamlibRefusal& r) { refusals << r; });
        connect(&worker, &HamlibWorker::traced, this, [this](const QString& line) { trace << line; });
    }

    bool WaitTrace(const QString& line) { return WaitFor([&] { return trace.contains(line); }); }
    // The first reading of a tick that began after `line` was traced.
    HamlibReading ReadingAfter(const QString& line)
    {
        EXPECT_TRUE(WaitTrace(line));
        readings.clear();
        EXPECT_TRUE(WaitFor([&] { return !readings.isEmpty(); }));
        return readings.value(0);
    }
    QStringList Lines(const QString& start) const { return trace.filter(QRegularExpression("^" + start)); }
    // Keeps the worker's thread busy until the returned gate is opened.
    std::shared_ptr<QSemaphore> Hold()
    {
        auto gate = std::make_shared<QSemaphore>();
        QMetaObject::invokeMethod(&worker, [gate] { gate->acquire(); }, Qt::QueuedConnection);
        return gate;
    }

    // The trace of a failed test, to tell what the worker did.
    ~WorkerEvents() override
    {
        if (::testing::Test::HasFailure())
            std::cerr << trace.join('\n').toStdString() << '\n' << failures.join('\n').toStdString() << '\n';
    }
    HamlibThread thread;
    HamlibWorker& worker = thread.worker();
    QList<HamlibReading> readings;
    QStringList failures, trace;
    QList<HamlibRefusal> refusals;
    int recoveries = 0;
};
