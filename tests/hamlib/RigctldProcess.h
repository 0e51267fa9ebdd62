#pragma once

#include "ForkedProcess.h"
#include "support/RigctlClient.h"

#include <QTcpSocket>

// Hamlib's rigctld serving its dummy rig on a port of 127.0.0.1, for the
// NET rigctl model (2); started again on the same port after Kill().
class RigctldProcess {
public:
    bool Start()
    {
        return process_.Start(QStandardPaths::findExecutable("rigctld"), {"-m", "1", "-t", QString::number(port)}) &&
               !Ask({"f"}).isEmpty();
    }
    void Kill() { process_.Kill(); }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port); }
    // The server's one-line answers to `commands` (e.g. "l RFPOWER"); empty
    // when they do not come. rigctld now and then resets a connection made
    // just after another has closed: the question is then asked again.
    QStringList Ask(const QStringList& commands) const
    {
        QStringList answers;
        WaitFor([&] { return (answers = Exchange(commands)).size() == commands.size(); });
        return answers.size() == commands.size() ? answers : QStringList();
    }

    const quint16 port = RigctlClient::FreePort();

private:
    QStringList Exchange(const QStringList& commands) const
    {
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, port);
        QStringList answers;
        if (!client.waitForConnected(500) || client.write((commands.join('\n') + '\n').toLatin1()) < 0)
            return answers;
        while (answers.size() < commands.size() && (client.canReadLine() || client.waitForReadyRead(500)))
            while (client.canReadLine())
                answers << QString::fromLatin1(client.readLine()).trimmed();
        return answers;
    }

    ForkedProcess process_;
};
