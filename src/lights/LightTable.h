#pragma once

#include "lights/LightMessage.h"
#include "lights/RadioLight.h"
#include "midi/LearnedControls.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class ISettingsStore;
class KeyMap;

// Which message lights what: for each state of the radio that can light, the
// user's choice. Stored in section [lights] of the settings, one key per
// state: "split=cc 1 01 7F 00", "transmit=none"; a state without a value
// lights the button that switches it on (by the key map of the rig type in
// use), under the message that button sends. UI thread only.
class LightTable {
public:
    enum class Choice { ButtonsOwn, NoLight, Message };
    struct Entry {
        Choice choice = Choice::ButtonsOwn;
        // For Choice::Message.
        LightMessage message;

        bool operator==(const Entry& other) const
        {
            return choice == other.choice && (choice != Choice::Message || message == other.message);
        }
    };
    using Entries = std::array<Entry, RadioLight::kCount>;
    // Each light's message; none for a light that is not shown.
    using Messages = std::array<std::optional<LightMessage>, RadioLight::kCount>;

    static QString Section() { return QStringLiteral("lights"); }
    static QString NoLightText() { return QStringLiteral("none"); }

    explicit LightTable(ISettingsStore& store);

    // Reads the table from the settings. An entry that is no message is
    // ignored (its light is the button's own) and comes back as "key=value",
    // so that it can be reported.
    QStringList Load();
    // The table becomes `entries` and is stored; a store that fails is thrown
    // and leaves the new table in effect for this run.
    void Store(const Entries& entries);
    const Entries& entries() const { return entries_; }

    // The messages of the lights now.
    Messages Resolve(const KeyMap& keyMap, std::optional<RigType> rig, const LearnedControls::Table& learned) const;
    // Each state's button's own light: the first button whose press (short,
    // then long) switches it on in the key map of `rig`, and the message that
    // button sends, as learned or as the surface sends it.
    static Messages ButtonsOwn(const KeyMap& keyMap, std::optional<RigType> rig,
                               const LearnedControls::Table& learned);

private:
    ISettingsStore& store_;
    Entries entries_{};
};
