#include "desktop/SingleInstance.h"

#include "core/IniSettingsStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace {
constexpr int kConnectTimeoutMs = 2000;

// The same file reached through a link or by another spelling of its path is the same file.
QString LockPath(const QString& settingsFile)
{
    return IniSettingsStore::CanonicalPath(settingsFile) + QStringLiteral(".running");
}

// Socket paths are short on Unix, so the name is a digest of the lock's path.
QString ServerName(const QString& lockPath)
{
    const QByteArray digest =
        QCryptographicHash::hash(lockPath.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    return QStringLiteral("vorn-midi-connector-") + QString::fromLatin1(digest);
}
} // namespace

SingleInstance::SingleInstance(const QString& settingsFile, QObject* parent)
    : QObject(parent), lock_(LockPath(settingsFile)), serverName_(ServerName(lock_.fileName()))
{
    // Held for the whole run: only a copy that is gone leaves it stale.
    lock_.setStaleLockTime(0);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::AnswerLaterCopy);
}

bool SingleInstance::TryToRun()
{
    QDir().mkpath(QFileInfo(lock_.fileName()).absolutePath());
    if (!lock_.tryLock(0)) {
        if (lock_.error() == QLockFile::LockFailedError)
            return false;
        qWarning("Cannot make the lock file %s; a second copy with the same settings file "
                 "would not be stopped.",
                 qPrintable(QDir::toNativeSeparators(lock_.fileName())));
        return true;
    }
    Listen();
    return true;
}

void SingleInstance::Listen()
{
    // This copy holds the lock, so a socket of that name is left from a crash.
    QLocalServer::removeServer(serverName_);
    if (!server_.listen(serverName_))
        qWarning("A second start cannot bring this window forward: %s",
                 qPrintable(server_.errorString()));
}

void SingleInstance::AnswerLaterCopy()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        socket->disconnectFromServer();
        socket->deleteLater();
        emit showRequested();
    }
}

bool SingleInstance::AskRunningCopyToShow()
{
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}
