#pragma once

#include "core/ISettingsStore.h"
#include "core/IniDocument.h"

#include <QDateTime>
#include <QList>
#include <QLockFile>
#include <QString>

class NumberedError;

// Settings in one INI file per user (the text rules are IniDocument's). A
// write changes only the value written: everything else in the file, hand
// edits included, stays byte for byte, and writing the value a key already
// holds leaves the file alone.
//
// Several running copies of the program may share the file: each write takes
// a lock file beside it (<file>.lock), reads the file afresh, changes its
// values and replaces the file atomically, so no copy loses another's keys.
// A lock left by a copy that died is taken over; a lock path that is no file
// (a folder in its way) fails at once. A write that cannot take the lock in
// time, because another copy holds it, is kept (reads see it) and written
// with the next write, or at the latest when the store goes; only a write
// that finds the lock held again fails. A file that exists but cannot be read
// (not a regular file, larger than kMaxFileBytes) is never replaced.
// UI thread only.
class IniSettingsStore : public ISettingsStore {
public:
    // How long a write waits for another copy's lock, and the age after
    // which a lock whose holder cannot be checked counts as left behind.
    static constexpr int kLockWaitMs = 6000;
    static constexpr int kStaleLockMs = 5000;
    // How often a held lock is tried while waiting.
    static constexpr int kLockTryMs = 10;
    // A settings file is a few kilobytes; more than this is no settings file.
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

    explicit IniSettingsStore(const QString& filePath, int lockWaitMs = kLockWaitMs);
    // Writes what is kept; a failure goes to standard error.
    ~IniSettingsStore() override;
    IniSettingsStore(const IniSettingsStore&) = delete;
    IniSettingsStore& operator=(const IniSettingsStore&) = delete;

    // The running executable's file name without its extension.
    static QString ApplicationName();

    QString Read(const QString& section, const QString& key,
                 const QString& defaultValue) const override;
    void Write(const QString& section, const QString& key, const QString& value) override;
    void BeginBatch() override;
    void EndBatch() override;
    // Writes the writes kept while another copy held the lock; a failure is thrown.
    void WritePending();
    bool HasPending() const { return !pending_.isEmpty(); }

    const QString& filePath() const { return filePath_; }
    // Beside the file itself, where a symbolic link or another spelling of
    // its path leads: every copy that writes the same file takes one lock.
    QString lockFilePath() const;
    // The file's own path, links and "." or ".." resolved, as far as it exists.
    static QString CanonicalPath(const QString& filePath);

private:
    struct Change {
        QString section;
        QString key;
        QString value;
    };

    void ReloadIfChanged() const;
    void Load() const;
    void ReadFile() const;
    void Forget() const;
    void Commit(const QList<Change>& changes);
    bool TakeLock(QLockFile& lock) const;
    void Save();
    NumberedError UnreadableError() const;
    NumberedError LockError(QLockFile::LockError error) const;

    QString filePath_;
    int lockWaitMs_;
    mutable IniDocument document_;
    mutable QDateTime loadedModified_;
    mutable qint64 loadedSize_ = -1;
    // Why the file that exists could not be read; it is then never replaced.
    mutable QString unreadable_;
    // The writes of the open batch, already applied to document_.
    QList<Change> batch_;
    int batchDepth_ = 0;
    // Writes that found the lock held, in order, not yet in the file.
    QList<Change> pending_;
};
