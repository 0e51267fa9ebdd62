#pragma once

#include <QString>

// The per-user settings store: text values addressed by section and key.
// Write failures throw VbError; a value written is on disk when Write returns.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // The stored text, or `defaultValue` when the key does not exist. A key
    // present with an empty value gives the empty text.
    virtual QString Read(const QString& section, const QString& key,
                         const QString& defaultValue) const = 0;
    virtual void Write(const QString& section, const QString& key, const QString& value) = 0;
};
