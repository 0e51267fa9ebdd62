#pragma once

#include "core/ISettingsStore.h"
#include "core/VbError.h"

#include <QStringList>

// Passes reads and writes to a real store, records every write as
// "section/key=value", and fails the write numbered `failAtWrite` and the
// read numbered `failAtRead` (both 1-based).
class RecordingStore : public ISettingsStore {
public:
    explicit RecordingStore(ISettingsStore& inner) : inner_(inner) {}

    QString Read(const QString& section, const QString& key,
                 const QString& defaultValue) const override
    {
        if (++reads == failAtRead)
            throw VbError::FileAccess(QStringLiteral("device not ready"));
        return inner_.Read(section, key, defaultValue);
    }

    void Write(const QString& section, const QString& key, const QString& value) override
    {
        if (writes.size() + 1 == failAtWrite)
            throw VbError::FileAccess(QStringLiteral("disk full"));
        inner_.Write(section, key, value);
        writes.append(section + QLatin1Char('/') + key + QLatin1Char('=') + value);
    }

    QStringList writes;
    int failAtWrite = 0;
    mutable int reads = 0;
    int failAtRead = 0;

private:
    ISettingsStore& inner_;
};
