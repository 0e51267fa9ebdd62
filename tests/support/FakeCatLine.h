#pragma once

#include "core/NumberedError.h"
#include "cat/ICatLine.h"

#include <QByteArrayList>
#include <QStringList>

// A serial port whose reads are scripted; records what happens to it in `events`.
class FakeCatLine : public ICatLine {
public:
    bool IsOpen() const override { return open; }
    qint64 UnsentBytes() const override { return unsent; }

    void Open(int comNumber) override
    {
        events << QStringLiteral("open %1").arg(comNumber);
        if (!openFailure.isEmpty())
            throw NumberedError(NumberedError::kDeviceUnavailable, openFailure);
        open = true;
    }

    void Close() override { events << QStringLiteral("close"); open = false; }

    // A write on a closed port is recorded like any other: the link must make none.
    void Write(const QByteArray& data) override
    {
        if (!writeFailure.isEmpty())
            throw NumberedError(NumberedError::kDeviceUnavailable, writeFailure);
        events << QStringLiteral("write ") + QString::fromLatin1(data);
    }

    QByteArray ReadAll() override
    {
        if (!open)
            throw NumberedError(NumberedError::kPortNotOpen, QStringLiteral("Operation valid only when the port is open"));
        events << QStringLiteral("read");
        return reads.isEmpty() ? QByteArray() : reads.takeFirst();
    }

    bool open = false;
    qint64 unsent = 0;
    QString openFailure, writeFailure;
    QByteArrayList reads;
    QStringList events;
};
