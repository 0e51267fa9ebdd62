#pragma once

#include "support/WaitFor.h"

#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>

// Debian's rigctl (package libhamlib-utils) as a client of Hamlib's "NET
// rigctl" rig (-m 2) on 127.0.0.1, run while the test's event loop turns, so
// a server on the test's own thread answers it. Its cache is off: every read
// is a question to the server.
//
//   EXPECT_EQ(RigctlClient::Run(port, {"F", "7074000", "f"}), "7074000\n");
struct RigctlClient {
    static QString Executable() { return QStandardPaths::findExecutable(QStringLiteral("rigctl")); }

    // A port nobody listens on now.
    static quint16 FreePort()
    {
        QTcpServer probe;
        return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
    }

    static void Start(QProcess& process, quint16 port, const QStringList& commands)
    {
        process.start(Executable(), QStringList{"-m", "2", "-r", QStringLiteral("127.0.0.1:%1").arg(port),
                                                "-C", "cache_timeout=0"} + commands);
    }

    // Waits for the client to end (killed after 20 s); what it wrote on its
    // standard output. Its standard error is left in `process`.
    static QString Finish(QProcess& process)
    {
        if (!WaitFor([&] { return process.state() == QProcess::NotRunning; }, 20000))
            process.kill();
        return QString::fromLocal8Bit(process.readAllStandardOutput());
    }

    static QString Run(quint16 port, const QStringList& commands)
    {
        QProcess process;
        Start(process, port, commands);
        return Finish(process);
    }
};
