#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The test update server (update_server.py) on a free port of 127.0.0.1,
// running for the lifetime of this object.
class UpdateServer {
public:
    UpdateServer();
    ~UpdateServer();
    UpdateServer(const UpdateServer&) = delete;
    UpdateServer& operator=(const UpdateServer&) = delete;

    bool started() const { return port_ > 0; }
    // "http://127.0.0.1:<port>" followed by `path`.
    QString Url(const QString& path) const;
    // Every request path the server has seen, query included, oldest first.
    QStringList Requests() const;

private:
    QTemporaryDir dir_;
    const QString log_ = dir_.filePath(QStringLiteral("requests.log"));
    QProcess process_;
    int port_ = 0;
};
