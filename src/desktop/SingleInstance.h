#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

// One running copy of the program per settings file, so that two windows
// never fight over the serial port and the settings. The copy that runs
// holds a lock file beside the settings file ("<file>.running") for its
// whole run; a lock left by a copy that crashed is taken over. It also
// listens on a local socket named after that file, where a later copy asks
// it to bring its window forward. UI thread only.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& settingsFile, QObject* parent = nullptr);

    // True when this copy may run: it now holds the lock and listens for
    // later copies. False when another copy runs with the same file. A lock
    // that cannot be made at all (a folder without write access) lets the
    // program run, with a warning.
    bool TryToRun();

    // Asks the copy that runs to show its window; false when it cannot be reached.
    bool AskRunningCopyToShow();

signals:
    void showRequested();

private:
    void Listen();
    void AnswerLaterCopy();

    QLockFile lock_;
    QString serverName_;
    QLocalServer server_;
};
