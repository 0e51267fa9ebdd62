#pragma once

#include "core/Options.h"

#include <QString>

class ISettingsStore;

// The options and the main window's position as stored in section
// "settings", each under its own key with its own default. The live values
// are the Options handed in; this class is their only road to the store.
// UI thread only.
class OptionsStore {
public:
    enum class Option {
        CatPort, PollTime, MidiPollTime, Autoconnect, RigType,
        RigctlOn, RigctlPort, RigctlAddress, HamlibModel, HamlibPort, HamlibSpeed
    };
    enum class Edge { Top, Left };

    OptionsStore(ISettingsStore& store, Options& options);

    Options& options() { return options_; }
    // The live value of `option`.
    const QString& Value(Option option) const;

    // Takes the stored text of `option`, or its default, into the live options.
    void Load(Option option);
    // Writes the live value of `option` to the store; failures are thrown.
    void Store(Option option);
    // Changes the live value, then stores it: a store that fails leaves the
    // change in effect for this run.
    void Set(Option option, const QString& value);

    // The stored position of the window's top or left edge in twips (0 when
    // not stored); text that is not a number is thrown as Type mismatch.
    double ReadEdge(Edge edge) const;
    void StoreEdges(int topTwips, int leftTwips);

private:
    struct Key {
        QString name;
        QString defaultValue;
        QString Options::*field;
    };
    static const Key& KeyOf(Option option);

    ISettingsStore& store_;
    Options& options_;
};
