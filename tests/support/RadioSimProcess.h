#pragma once

#include "core/ISettingsStore.h"
#include "support/ChildProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

// Runs the radio simulator vmc-radiosim for a test: a K3-style radio on a
// pseudo-terminal. The simulator's path comes from the environment variable
// VMC_RADIOSIM (set by vmc_use_radiosim() in CMake). Every command the radio
// receives is logged, so a test can see what was sent.
//
//   RadioSimProcess radio;
//   ASSERT_TRUE(radio.Start({"--freq-a", "00007074000"})) << radio.ErrorString();
//   radio.MapToCom(settings.store, 3);     // COM3 is now the simulator
//   ...
//   EXPECT_EQ(radio.ReceivedCommands(), QStringList({"IF", "FB"}));
class RadioSimProcess {
public:
    RadioSimProcess() = default;
    ~RadioSimProcess() { Stop(); }
    RadioSimProcess(const RadioSimProcess&) = delete;
    RadioSimProcess& operator=(const RadioSimProcess&) = delete;

    static QString Executable() { return qEnvironmentVariable("VMC_RADIOSIM"); }

    // Starts the simulator with `arguments` (see vmc-radiosim --help) and waits
    // for its terminal path. False, with ErrorString() set, when it fails.
    bool Start(const QStringList& arguments = {}, int timeoutMs = 10000)
    {
        Stop();
        if (Executable().isEmpty())
            return Fail(QStringLiteral("VMC_RADIOSIM is not set"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.path());
        env.insert(QStringLiteral("HOME"), dir_.path());
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        EndWithTheTest(process_);
        process_.start(Executable(), QStringList(arguments) << QStringLiteral("--log") << LogPath());
        if (!process_.waitForStarted(timeoutMs))
            return Fail(process_.errorString());
        const QDeadlineTimer deadline(timeoutMs);
        while (!process_.canReadLine()) {
            if (deadline.hasExpired() || !process_.waitForReadyRead(int(deadline.remainingTime())))
                return Fail(QStringLiteral("the simulator gave no terminal path"));
        }
        ptyPath_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        return true;
    }

    // Ends the simulator (SIGTERM, then kill); safe to call twice.
    void Stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    // The slave end of the simulator's pseudo-terminal, e.g. /dev/pts/7.
    const QString& PtyPath() const { return ptyPath_; }

    // Points COM `comNumber` of the program at the simulator: [ports] comN = PtyPath().
    void MapToCom(ISettingsStore& store, int comNumber) const
    {
        store.Write(QStringLiteral("ports"), QStringLiteral("com%1").arg(comNumber), ptyPath_);
    }

    // The simulator's command log: one line per command, "<epoch ms> <command>".
    QString LogPath() const { return dir_.filePath(QStringLiteral("radiosim.log")); }

    // The commands received so far, in order, without their ";".
    QStringList ReceivedCommands() const
    {
        QStringList commands;
        QFile log(LogPath());
        if (!log.open(QIODevice::ReadOnly | QIODevice::Text))
            return commands;
        while (!log.atEnd()) {
            const QString line = QString::fromLatin1(log.readLine());
            if (line.endsWith(QLatin1Char('\n')))
                commands << line.mid(line.indexOf(QLatin1Char(' ')) + 1).chopped(1);
        }
        return commands;
    }

    const QString& ErrorString() const { return error_; }

private:
    bool Fail(const QString& error)
    {
        error_ = error;
        Stop();
        return false;
    }

    QTemporaryDir dir_;
    QProcess process_;
    QString ptyPath_;
    QString error_;
};
