#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file's whole content; "<unreadable>" when it cannot be read.
inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Replaces a file's content with `bytes`; false when it cannot be written.
inline bool PutFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
