#pragma once

#include <QString>

// The per-user settings store: text values addressed by section and key.
// Write failures throw NumberedError; a value written is on disk when Write returns,
// unless a batch is open (see SettingsBatch).
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // The stored text, or `defaultValue` when the key does not exist. A key
    // present with an empty value gives the empty text.
    virtual QString Read(const QString& section, const QString& key,
                         const QString& defaultValue) const = 0;
    virtual void Write(const QString& section, const QString& key, const QString& value) = 0;

    // Between BeginBatch and the matching EndBatch, writes are collected
    // (reads see them) and EndBatch puts them on disk together, as one write;
    // its failure is thrown like a failing Write, and the batch is over
    // either way. Batches nest: only the outermost EndBatch writes. A store
    // without batches writes each value at once.
    virtual void BeginBatch() {}
    virtual void EndBatch() {}
};
