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
               WaitFor([this] { return !Ask("f").isEmpty(); });
    }
    void Kill() { process_.Kill(); }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port); }
    // The server's one-line answer to `command` (e.g. "l RFPOWER"); empty when
    // none came. A fresh rigctld may accept a connection and then reset it.
    QString Ask(const QByteArray& command) const
    {
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, port);
        if (!client.waitForConnected(500) || client.write(command + '\n') < 0)
            return {};
        while (!client.canReadLine() && client.waitForReadyRead(500)) {
        }
        return QString::fromLatin1(client.readLine()).trimmed();
    }

    const quint16 port = RigctlClient::FreePort();

private:
    ForkedProcess process_;
};
