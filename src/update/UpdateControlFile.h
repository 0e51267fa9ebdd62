#pragma once

#include <QList>
#include <QString>

// The update server's control file: a root element `Application` whose child
// elements carry, among others, `version` and `md5`.
class UpdateControlFile {
public:
    struct Entry {
        QString name;
        QString text;  // the element's text content without surrounding blanks
    };

    // Reads and checks the whole file. On failure returns false and gives the
    // parser's reason; entries are only filled from a well-formed file.
    bool Load(const QString& path);

    const QString& errorReason() const { return errorReason_; }
    // The children of `Application` in document order; none when the root
    // element has another name.
    const QList<Entry>& entries() const { return entries_; }

private:
    QList<Entry> entries_;
    QString errorReason_;
};
