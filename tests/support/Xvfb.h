#pragma once

#include "support/ChildProcess.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// An X server of the test's own (Xvfb), for running the real executable; its
// display number comes from -displayfd. An X server resets when its last
// client leaves and refuses connections meanwhile (-noreset: it never does),
// which a loaded machine stretched until a program starting then failed.
class Xvfb {
public:
    bool Start()
    {
        EndWithTheTest(process_);
        process_.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-noreset", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        const QString number = FirstLine(process_, 10000);
        display_ = QStringLiteral(":") + number;
        return !number.isEmpty();
    }
    ~Xvfb()
    {
        process_.terminate();
        process_.waitForFinished(3000);
    }
    const QString& display() const { return display_; }

    // Runs `program` with `args` on this display; its standard output, trimmed.
    QString Run(const QString& program, const QStringList& args) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_);
        p.setProcessEnvironment(env);
        p.start(program, args);
        p.waitForFinished(15000);
        return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    }

private:
    QProcess process_;
    QString display_;
};
