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
        QObject::connect(&link, &HamlibLink::reported, [this](const HamlibReport& report) { Take(report); });
    }
    void Take(const HamlibReport& report)
    {
        if (const auto* reading = std::get_if<HamlibReading>(&report))
            readings << *reading;
        else if (const auto* failure = std::get_if<HamlibFailed>(&report))
            failures << failure->message;
        else if (std::holds_alternative<HamlibRecovered>(report))
            ++recoveries;
        else if (const auto* refusal = std::get_if<HamlibRefusal>(&report))
            refusals << *refusal;
        else if (const auto* traced = std::get_if<HamlibTraced>(&report))
            trace << traced->line;
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
    HamlibLink link{1000};
};
