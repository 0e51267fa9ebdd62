#pragma once

#include "hamlib/HamlibCommand.h"
#include "hamlib/HamlibLink.h"
#include "support/QtPrinters.h"
#include "support/WaitFor.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <iostream>

// A link to a radio, and what it tells, gathered as it comes.
struct LinkEvents {
    LinkEvents()
    {
        QObject::connect(&link, &HamlibLink::polled, [this](const HamlibReading& r) { readings << r; });
        QObject::connect(&link, &HamlibLink::failed, [this](const QString& m) { failures << m; });
        QObject::connect(&link, &HamlibLink::recovered, [this] { ++recoveries; });
        QObject::connect(&link, &HamlibLink::refused, [this](const HamlibRefusal& r) { refusals << r; });
        QObject::connect(&link, &HamlibLink::traced, [this](const QString& line) { trace << line; });
    }
    // The trace of a failed test, to tell what the worker did.
    ~LinkEvents()
    {
        if (::testing::Test::HasFailure())
            std::cerr << trace.join('\n').toStdString() << '\n' << failures.join('\n').toStdString() << '\n';
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

    QList<HamlibReading> readings;
    QStringList failures, trace;
    QList<HamlibRefusal> refusals;
    int recoveries = 0;
    HamlibLink link;
};
