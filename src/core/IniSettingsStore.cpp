#include "core/IniSettingsStore.h"

#include "core/NumberedError.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QThread>

#include <cstdio>
#include <utility>

IniSettingsStore::IniSettingsStore(const QString& filePath, int lockWaitMs)
    : filePath_(filePath), lockWaitMs_(lockWaitMs)
{
}

IniSettingsStore::~IniSettingsStore()
{
    try {
        WritePending();
    } catch (const NumberedError& e) {
        std::fprintf(stderr, "%s: settings not written: %s\n", qPrintable(ApplicationName()), qPrintable(e.description()));
    }
}

void IniSettingsStore::WritePending()
{
    if (!pending_.isEmpty())
        Commit({});
}

QString IniSettingsStore::CanonicalPath(const QString& filePath)
{
    const QFileInfo file(filePath);
    if (file.exists())
        return file.canonicalFilePath();
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? file.absoluteFilePath() : QDir(folder).filePath(file.fileName());
}

QString IniSettingsStore::lockFilePath() const
{
    return CanonicalPath(filePath_) + QStringLiteral(".lock");
}

QString IniSettingsStore::ApplicationName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString IniSettingsStore::Read(const QString& section, const QString& key,
                               const QString& defaultValue) const
{
    // An open batch reads its own writes, not the file.
    if (batchDepth_ == 0)
        ReloadIfChanged();
    const QString* value = document_.Find(section, key);
    return value ? *value : defaultValue;
}

void IniSettingsStore::Write(const QString& section, const QString& key, const QString& value)
{
    if (batchDepth_ == 0) {
        Commit({Change{section, key, value}});
        return;
    }
    if (!unreadable_.isEmpty())
        throw UnreadableError();
    document_.Set(section, key, value);
    batch_.append(Change{section, key, value});
}

void IniSettingsStore::BeginBatch()
{
    if (batchDepth_++ == 0)
        ReloadIfChanged();
}

void IniSettingsStore::EndBatch()
{
    if (batchDepth_ == 0 || --batchDepth_ > 0)
        return;
    const QList<Change> changes = std::exchange(batch_, {});
    if (!changes.isEmpty())
        Commit(changes);
}

void IniSettingsStore::ReloadIfChanged() const
{
    const QFileInfo info(filePath_);
    const qint64 size = info.exists() ? info.size() : -1;
    if (size != loadedSize_ || (size >= 0 && info.lastModified() != loadedModified_))
        Load();
}

// The file as it is, with the writes kept for it.
void IniSettingsStore::Load() const
{
    ReadFile();
    for (const Change& change : pending_)
        document_.Set(change.section, change.key, change.value);
}

void IniSettingsStore::ReadFile() const
{
    const QFileInfo info(filePath_);
    loadedSize_ = info.exists() ? info.size() : -1;
    loadedModified_ = info.exists() ? info.lastModified() : QDateTime();
    document_ = IniDocument();
    unreadable_.clear();
    if (loadedSize_ < 0)
        return;
    // A device or a pipe (--settings /dev/zero) may never end.
    if (!info.isFile()) {
        unreadable_ = info.isDir() ? QStringLiteral("it is a folder, not a file")
                                   : QStringLiteral("it is not a regular file");
        return;
    }
    QFile file(filePath_);
    if (!file.open(QIODevice::ReadOnly)) {
        unreadable_ = file.errorString();
        return;
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes)
        unreadable_ = QStringLiteral("it is larger than %1 MiB").arg(kMaxFileBytes / (1024 * 1024));
    else
        document_ = IniDocument(bytes);
}

// What was read last no longer stands for the file: the next read loads it.
void IniSettingsStore::Forget() const
{
    loadedSize_ = -2;
}

// Under the lock, the changes go onto the file as it is now, so that values
// another copy wrote since this one last read stay. Changes that find the
// lock held by another copy are kept for the next commit; when the kept ones
// find it held again, that is thrown (and they are still kept).
void IniSettingsStore::Commit(const QList<Change>& changes)
{
    const QList<Change> all = pending_ + changes;
    QDir().mkpath(QFileInfo(filePath_).absolutePath());
    const QString lockPath = lockFilePath();
    // A folder in the lock's way is never taken over as a stale lock: no wait.
    const QFileInfo lockInfo(lockPath);
    if (lockInfo.exists() && !lockInfo.isFile()) {
        Forget();
        throw LockError(QLockFile::PermissionError);
    }
    QLockFile lock(lockPath);
    lock.setStaleLockTime(kStaleLockMs);
    if (!TakeLock(lock)) {
        Forget();
        if (lock.error() == QLockFile::LockFailedError) {
            const bool keptBefore = !pending_.isEmpty();
            pending_ = all;
            if (!keptBefore)
                return;
        }
        throw LockError(lock.error());
    }
    pending_.clear();
    Load();
    // Replacing a file whose settings could not be read would lose them all.
    if (!unreadable_.isEmpty())
        throw UnreadableError();
    bool changed = false;
    for (const Change& change : all)
        changed = document_.Set(change.section, change.key, change.value) || changed;
    if (changed)
        Save();
}

// QLockFile's own wait sleeps twice as long after each try (100 ms, 200 ms,
// ...): it tries six times in six seconds, and copies that write often take
// the lock in between every time. Short tries keep up with them.
bool IniSettingsStore::TakeLock(QLockFile& lock) const
{
    const QDeadlineTimer deadline(lockWaitMs_);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::msleep(kLockTryMs);
    }
    return true;
}

void IniSettingsStore::Save()
{
    QSaveFile file(filePath_);
    if (!file.open(QIODevice::WriteOnly) || file.write(document_.Bytes()) < 0 || !file.commit()) {
        Forget();
        throw NumberedError::FileAccess(filePath_ + QStringLiteral(" (") + file.errorString() + ')');
    }
    const QFileInfo info(filePath_);
    loadedSize_ = info.size();
    loadedModified_ = info.lastModified();
}

NumberedError IniSettingsStore::UnreadableError() const
{
    return NumberedError::FileAccess(filePath_ + QStringLiteral(" cannot be read (") + unreadable_ +
                               QStringLiteral("); it is left as it is"));
}

NumberedError IniSettingsStore::LockError(QLockFile::LockError error) const
{
    const QString why = error == QLockFile::LockFailedError
                            ? QStringLiteral("another copy of the program is writing it; its lock file ") +
                                  lockFilePath() + QStringLiteral(" is still there")
                            : QStringLiteral("its lock file ") + lockFilePath() +
                                  QStringLiteral(" cannot be created");
    return NumberedError::FileAccess(filePath_ + QStringLiteral(" (") + why + ')');
}
