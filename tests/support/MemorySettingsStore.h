#pragma once

#include "core/ISettingsStore.h"

#include <QHash>

// Settings held in memory only, for tests and benchmarks that load the key map
// many times and have no interest in the file behind the store.
class MemorySettingsStore : public ISettingsStore {
public:
    QString Read(const QString& section, const QString& key,
                 const QString& defaultValue) const override
    {
        return values_.value(section + QLatin1Char('/') + key, defaultValue);
    }
    void Write(const QString& section, const QString& key, const QString& value) override
    {
        values_.insert(section + QLatin1Char('/') + key, value);
    }

private:
    QHash<QString, QString> values_;
};
