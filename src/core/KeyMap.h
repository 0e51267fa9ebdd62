#pragma once

#include "core/ISettingsStore.h"
#include "core/VbError.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The live key maps of both rig types: 124 entries named "e" or "f" plus a key
// suffix, fixed to exactly those names. Names match without regard to letter
// case because the translation builds its keys with upper-case hex digits.
class KeyMap {
public:
    struct KeyDef {
        QString suffix;
        QString label;
        QString elecraftDefault;
        QString flexDefault;
    };

    static constexpr int kEntryCount = 124;

    // The 62 suffixes in the order the maps are loaded, with editor labels and defaults.
    static const QList<KeyDef>& Suffixes();
    // All 124 entry names in load order: every Elecraft key, then every Flex key.
    static const QStringList& Names();
    static QString Section() { return QStringLiteral("midimap"); }

    // Every entry exists from the start and is empty until Load fills it.
    KeyMap();

    // The entry's text; throws VbError 438 when `name` is not a map key.
    QString Read(const QString& name) const;
    // Throws VbError 438 when `name` is not a map key.
    void Write(const QString& name, const QString& text);

    // Fills every entry from section "midimap" (the default when a key is not
    // stored) and writes it straight back. A read failure is thrown at once:
    // the entries before the failing key keep their values, the failing key
    // and all after it stay empty, and IsLoaded() stays false. A write-back
    // failure is thrown only after every entry has been filled.
    void Load(ISettingsStore& store);
    // True once every entry has been filled by a Load.
    bool IsLoaded() const { return loaded_; }

private:
    static QString DefaultOf(int index);
    // The failure of writing one entry back, if any.
    static std::optional<VbError> WriteBack(ISettingsStore& store, const QString& name,
                                            const QString& value);
    QString& EntryOf(const QString& name);

    QHash<QString, QString> entries_;
    bool loaded_ = false;
};
