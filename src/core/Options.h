#pragma once

#include "core/RigType.h"

#include <QString>
#include <array>
#include <optional>

// The options in section [settings] of the settings file, as the program
// holds them while it runs: each one's text exactly as stored (so that it is
// written back as it was read or typed, whatever it holds), read through
// typed getters. The table of the keys, their defaults and how each is read
// is here alone (Options.cpp); until they are loaded, the options hold their
// defaults. UI thread only.
class Options {
public:
    enum class Key {
        CatPort, PollTime, MidiPollTime, Autoconnect, RigType,
        RigctlOn, RigctlPort, RigctlAddress, HamlibModel, HamlibPort, HamlibSpeed, MidiOutput
    };
    static constexpr int kKeys = 12;
    // The COM numbers the "CAT Port" menu offers, 1 to kComPorts.
    static constexpr int kComPorts = 16;

    Options();

    // The section of the settings file, "settings".
    static QString Section() { return QStringLiteral("settings"); }
    // The key's name in the settings file ("catport") and its default text.
    static QString Name(Key key);
    static QString Default(Key key);

    const QString& Text(Key key) const { return texts_[std::size_t(key)]; }
    void SetText(Key key, const QString& text) { texts_[std::size_t(key)] = text; }

    // The COM port chosen, 1 to kComPorts, by the number the text begins
    // with; 0 for none (the number 0, or no number at all); empty for a
    // number that names no port.
    std::optional<int> ComPort() const;
    // An interval (PollTime, MidiPollTime) in whole milliseconds, halves to
    // even; a text that is no number a timer takes is thrown (Type mismatch, Overflow).
    int Milliseconds(Key key) const { return Milliseconds(Text(key)); }
    static int Milliseconds(const QString& text);
    // The automatic MIDI connection: on while the text is the number 1.
    bool Autoconnect() const;
    // The rig type the text names exactly; none for any other text.
    std::optional<RigType> Rig() const { return RigTypes::FromSetting(Text(Key::RigType)); }
    // The network rig control: on while the text is "1".
    bool RigctlOn() const { return Text(Key::RigctlOn).trimmed() == QLatin1String("1"); }
    // The Hamlib radio's model number and serial speed (0: the model's
    // default); none when the text is no such number.
    std::optional<int> HamlibModel() const;
    std::optional<int> HamlibSpeed() const;

private:
    std::array<QString, kKeys> texts_;
};
