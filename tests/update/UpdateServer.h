#pragma once

#include "support/ChildProcess.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The test update server (update_server.py) on a free port of 127.0.0.1,
// running for the lifetime of this object.
class UpdateServer {
public:
    UpdateServer()
    {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        EndWithTheTest(process_);
        process_.start(QStringLiteral(VMC_PYTHON), {QStringLiteral(VMC_UPDATE_SERVER), log_});
        // The server prints its port as soon as it listens.
        port_ = FirstLine(process_, 10000).toInt();
    }
    ~UpdateServer()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    UpdateServer(const UpdateServer&) = delete;
    UpdateServer& operator=(const UpdateServer&) = delete;

    bool started() const { return port_ > 0; }
    // "http://127.0.0.1:<port>" followed by `path`.
    QString Url(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path); }
    // Every request path the server has seen, query included, oldest first.
    QStringList Requests() const
    {
        QFile log(log_);
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts)
                                             : QStringList();
    }

private:
    QTemporaryDir dir_;
    const QString log_ = dir_.filePath(QStringLiteral("requests.log"));
    QProcess process_;
    int port_ = 0;
};
