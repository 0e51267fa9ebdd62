#pragma once

#include "core/ISettingsStore.h"
#include "core/NumberedError.h"

#include <QHash>
#include <QStringList>

// Settings held in memory, for tests that need no file behind the store. Every
// write is recorded as "section/key=value"; the read or write numbered
// failAtRead or failAtWrite (from 1) fails as a full disk does.
class MemorySettingsStore : public ISettingsStore {
public:
    QString Read(const QString& section, const QString& key,
                 const QString& defaultValue) const override
    {
        if (++reads == failAtRead)
            throw NumberedError::FileAccess(QStringLiteral("device not ready"));
        return values.value(section + QLatin1Char('/') + key, defaultValue);
    }
    void Write(const QString& section, const QString& key, const QString& value) override
    {
        if (writes.size() + 1 == failAtWrite)
            throw NumberedError::FileAccess(QStringLiteral("disk full"));
        values.insert(section + QLatin1Char('/') + key, value);
        writes.append(section + QLatin1Char('/') + key + QLatin1Char('=') + value);
    }

    QHash<QString, QString> values;
    QStringList writes;
    mutable int reads = 0;
    int failAtRead = 0;
    int failAtWrite = 0;
};
