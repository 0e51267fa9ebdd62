#pragma once

#include "core/ISettingsStore.h"
#include "core/NumberedError.h"
#include "core/RigType.h"
#include "core/SurfaceControls.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The live key maps of every rig type: 62 entries each, named with the rig
// type's letter and a key suffix built from the surface's data bytes
// ("e6441": Elecraft, home wheel, one step up), fixed to exactly those names.
// Names match without regard to letter case because the dispatcher builds its
// keys with upper-case hex digits.
class KeyMap {
public:
    struct KeyDef {
        QString suffix;
        QString label;
        QString elecraftDefault;
        QString flexDefault;
        QString hamlibDefault;

        const QString& DefaultFor(RigType rig) const;
    };

    static constexpr int kEntryCount = 186;

    // The 62 suffixes in the order the maps are loaded, with editor labels and defaults.
    static const QList<KeyDef>& Suffixes();
    // The editor's label of `suffix` ("Button 1"); empty for a suffix not in the maps.
    static QString LabelOf(const QString& suffix);
    // All entry names in load order: every key of the first rig type, then the next.
    static const QStringList& Names();
    // The entry name of `suffix` in the map of `rig`.
    static QString Name(RigType rig, const QString& suffix);
    // The suffixes of a wheel turned at `speed` (the data bytes it sends, in
    // hexadecimal), of a button's press, and of the slider in modes 2 and 3.
    static QString WheelSuffix(SurfaceControls::Id wheel, int speed, bool up);
    static QString ButtonSuffix(int number, bool longPress);
    static QString PowerSliderSuffix() { return QStringLiteral("km2sldb"); }
    static QString SpeedSliderSuffix() { return QStringLiteral("km3sldb"); }
    static QString Section() { return QStringLiteral("midimap"); }

    // Every entry exists from the start and is empty until Load fills it.
    KeyMap();

    // The entry's text; throws NumberedError 438 when `name` is not a map key.
    QString Read(const QString& name) const;
    // Throws NumberedError 438 when `name` is not a map key.
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
    // The failure of writing one entry back, if any.
    static std::optional<NumberedError> WriteBack(ISettingsStore& store, const QString& name,
                                            const QString& value);
    QString& EntryOf(const QString& name);

    QHash<QString, QString> entries_;
    bool loaded_ = false;
};
