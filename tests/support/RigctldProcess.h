#pragma once

#include "support/ForkedProcess.h"
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
    // The server's answers to `commands` (e.g. "l RFPOWER"), `lines` in all
    // (by default one each); empty when they do not come. rigctld now and
    // then resets a connection made just after another has closed: the
    // question is then asked again.
    QStringList Ask(const QStringList& commands, int lines = 0) const
    {
        lines = lines ? lines : int(commands.size());
        QStringList answers;
        WaitFor([&] { return (answers = Exchange(commands, lines)).size() == lines; });
        return answers.size() == lines ? answers : QStringList();
    }

    const quint16 port = RigctlClient::FreePort();

private:
    QStringList Exchange(const QStringList& commands, int lines) const
    {
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, port);
        QStringList answers;
        if (!client.waitForConnected(500) || client.write((commands.join('\n') + '\n').toLatin1()) < 0)
            return answers;
        while (answers.size() < lines && (client.canReadLine() || client.waitForReadyRead(500)))
            while (client.canReadLine())
                answers << QString::fromLatin1(client.readLine()).trimmed();
        return answers;
    }

    ForkedProcess process_;
};
