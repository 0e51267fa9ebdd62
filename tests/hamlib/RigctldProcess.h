#pragma once

#include "support/ChildProcess.h"
#include "support/RigctlClient.h"

#include <QTcpSocket>

// Hamlib's rigctld serving its dummy rig on a port of 127.0.0.1, for the
// NET rigctl model (2); started again on the same port after Kill().
class RigctldProcess {
public:
    ~RigctldProcess() { Kill(); }

    bool Start()
    {
        EndWithTheTest(process_);
        process_.start(QStandardPaths::findExecutable("rigctld"), {"-m", "1", "-t", QString::number(port)});
        return process_.waitForStarted() && WaitFor([this] { return Answers(); });
    }
    void Kill()
    {
        process_.kill();
        process_.waitForFinished();
    }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port); }
    // What rigctl prints for `commands` asked of the server.
    QString Ask(const QStringList& commands) const { return RigctlClient::Run(port, commands); }

    const quint16 port = RigctlClient::FreePort();

private:
    // A fresh rigctld may accept a connection and then reset it: it is
    // ready once it has answered a question.
    bool Answers() const
    {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        return probe.waitForConnected(200) && probe.write("f\n") == 2 && probe.waitForReadyRead(500);
    }

    QProcess process_;
};
