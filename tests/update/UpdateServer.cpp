#include "UpdateServer.h"
#include "support/ChildProcess.h"

#include <QFile>

UpdateServer::UpdateServer()
{
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    EndWithTheTest(process_);
    process_.start(QStringLiteral(VMC_PYTHON), {QStringLiteral(VMC_UPDATE_SERVER), log_});
    // The server prints its port as soon as it listens.
    if (process_.waitForStarted(10000) && process_.waitForReadyRead(10000))
        port_ = process_.readLine().trimmed().toInt();
}

UpdateServer::~UpdateServer()
{
    process_.kill();
    process_.waitForFinished(5000);
}

QString UpdateServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

QStringList UpdateServer::Requests() const
{
    QFile log(log_);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
