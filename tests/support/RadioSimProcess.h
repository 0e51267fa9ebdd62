#pragma once

#include "core/ISettingsStore.h"
#include "support/ChildProcess.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

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
    ~RadioSimProcess() { Stop(); }

    // Starts the simulator with `arguments` (see vmc-radiosim --help) and waits
    // for its terminal path. False, with ErrorString() set, when it fails.
    bool Start(const QStringList& arguments = {}, int timeoutMs = 10000)
    {
        Stop();
        const QString executable = qEnvironmentVariable("VMC_RADIOSIM");
        if (executable.isEmpty())
            return Fail(QStringLiteral("VMC_RADIOSIM is not set"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.path());
        env.insert(QStringLiteral("HOME"), dir_.path());
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        EndWithTheTest(process_);
        process_.start(executable, QStringList(arguments) << QStringLiteral("--log") << LogPath());
        if (!process_.waitForStarted(timeoutMs))
            return Fail(process_.errorString());
        ptyPath_ = FirstLine(process_, timeoutMs);
        return !ptyPath_.isEmpty() || Fail(QStringLiteral("the simulator gave no terminal path"));
    }

    // Ends the simulator (SIGTERM, then kill); safe to call twice.
    void Stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished(5000);
    }

    // The slave end of the simulator's pseudo-terminal, e.g. /dev/pts/7
    // (tcp://host:port when it listens on TCP).
    const QString& PtyPath() const { return ptyPath_; }

    // Points COM `comNumber` of the program at the simulator: [ports] comN = PtyPath().
    void MapToCom(ISettingsStore& store, int com) const { store.Write(QStringLiteral("ports"), QStringLiteral("com%1").arg(com), ptyPath_); }

    // The simulator's command log: one line per command, "<epoch ms> <command>".
    QString LogPath() const { return dir_.filePath(QStringLiteral("radiosim.log")); }

    // The commands received so far, in order, without their ";".
    QStringList ReceivedCommands() const
    {
        QFile log(LogPath());
        QStringList commands = log.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromLatin1(log.readAll()).split('\n')
                                                                                : QStringList{QString()};
        commands.removeLast();  // the line being written, empty once it has its end
        for (QString& command : commands)
            command.remove(0, command.indexOf(QLatin1Char(' ')) + 1);
        return commands;
    }

    const QString& ErrorString() const { return error_; }

private:
    bool Fail(const QString& error) { error_ = error; Stop(); return false; }

    QTemporaryDir dir_;
    QProcess process_;
    QString ptyPath_, error_;
};
