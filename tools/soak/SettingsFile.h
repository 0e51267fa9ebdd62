#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The run's own settings file: written at the start, edited by hand while the
// program runs (a comment line and a key of a section of its own, under the
// program's lock file, as a careful editor would), and checked at the end.
class SettingsFile {
public:
    explicit SettingsFile(const QString& path) : path_(path) {}

    const QString& path() const { return path_; }

    // `lines` are "section/key=value", in the order written.
    bool Write(const QStringList& lines);
    bool EditByHand(int number);
    int HandEdits() const { return int(handComments_.size()); }

    // What is wrong with the file now: a line that cannot be read, a hand
    // edit gone, a key the run set that has another value. Empty when intact.
    QStringList Faults() const;

private:
    static QString Quoted(const QString& text);
    static bool Readable(const QString& line);
    // "section/key" -> value of every key=value line, quotes taken off.
    static QHash<QString, QString> Values(const QStringList& lines);

    QString path_;
    QStringList written_;
    QStringList handComments_;
    QStringList handKeys_;
};
