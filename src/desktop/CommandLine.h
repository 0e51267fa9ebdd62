#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. It is read before the window system
// starts, so --help, --version and a mistaken option need no display.
// Qt's own options (-platform, -session, -style, ...) are let through for
// QApplication to take.
class CommandLine {
public:
    enum class Action { Run, Help, Version, Refuse };

    // `arguments` as the program got them, its own path first.
    static CommandLine Parse(const QStringList& arguments);

    Action action() const { return action_; }
    // The settings file chosen with --settings, as an absolute path; empty
    // for the user's own settings file.
    const QString& settingsFile() const { return settingsFile_; }
    // The help or version text (for stdout) or the complaint (for stderr).
    const QString& text() const { return text_; }

    // Prints text() where it belongs and returns the exit status:
    // 0 for help and version, 2 for a command line that is refused.
    int Answer() const;

private:
    Action action_ = Action::Run;
    QString settingsFile_;
    QString text_;
};
