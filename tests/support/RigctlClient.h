#pragma once

#include "support/WaitFor.h"

#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTcpServer>

// Debian's rigctl (package libhamlib-utils) as a client of Hamlib's "NET
// rigctl" rig (-m 2) on 127.0.0.1, run while the test's event loop turns, so
// a server on the test's own thread answers it. Its cache is off: every read
// is a question to the server.
//
//   const RigctlClient::Result r = RigctlClient::Run(port, {"F", "7074000", "f"});
//   EXPECT_EQ(r.out, "7074000\n") << r.err;
struct RigctlClient {
    struct Result {
        bool finished = false;
        int exitCode = -1;
        QString out;
        QString err;
    };

    static QString Executable() { return QStandardPaths::findExecutable(QStringLiteral("rigctl")); }

    // A port nobody listens on now.
    static quint16 FreePort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

    static void Start(QProcess& process, quint16 port, const QStringList& commands)
    {
        process.start(Executable(), QStringList{QStringLiteral("-m"), QStringLiteral("2"),
                                                QStringLiteral("-r"),
                                                QStringLiteral("127.0.0.1:%1").arg(port),
                                                QStringLiteral("-C"),
                                                QStringLiteral("cache_timeout=0")}
                                        + commands);
    }

    static Result Finish(QProcess& process, int timeoutMs = 20000)
    {
        Result result;
        result.finished = WaitFor([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
        if (!result.finished) {
            process.kill();
            process.waitForFinished();
        }
        result.exitCode = process.exitCode();
        result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        result.err = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }

    static Result Run(quint16 port, const QStringList& commands)
    {
        QProcess process;
        Start(process, port, commands);
        return Finish(process);
    }
};
