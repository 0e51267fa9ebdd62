#pragma once

#include <QByteArray>
#include <QFlags>
#include <QMap>
#include <QtGlobal>

#include <optional>

// The program's copy of the radio's state, whatever the radio: filled by what
// the radio reports, and moved at once by the program's own commands (a wheel
// step, a client's frequency), so that the next step builds on them before
// the radio has answered. Each radio keeps its own (RadioStateKeeper).
struct RadioState {
    // The radio answers: MIDI input and the radio commands of network
    // clients are acted on only while it does.
    bool answering = false;
    // VFO B's frequency is known (a radio without VFO B refuses to say).
    bool vfoBKnown = false;
    // The VFO frequencies in hertz.
    qint64 vfoA = 0;
    qint64 vfoB = 0;
    // Hamlib's name of the mode ("USB"); empty while the radio reports one
    // the program has no name for.
    QByteArray mode;
    // Unknown until the radio has said.
    std::optional<bool> transmitting;
    // Split: VFO A receives, VFO B transmits.
    std::optional<bool> split;
    // The radio receives on VFO B.
    std::optional<bool> vfoBInUse;
    std::optional<bool> rit;
    std::optional<bool> xit;
    // Functions ("NB") and levels ("RFPOWER" 0 to 1, "KEYSPD" in words per
    // minute) by Hamlib's names, as the radio or the program last set them.
    QMap<QByteArray, bool> functions;
    QMap<QByteArray, double> levels;

    // The parts of the state, one bit each, for telling what changed.
    enum class Field {
        Answering = 1 << 0, VfoBKnown = 1 << 1, VfoA = 1 << 2, VfoB = 1 << 3, Mode = 1 << 4,
        Transmitting = 1 << 5, Split = 1 << 6, Rit = 1 << 7, Xit = 1 << 8, Functions = 1 << 9,
        Levels = 1 << 10, VfoBInUse = 1 << 11
    };
    Q_DECLARE_FLAGS(Fields, Field)

    // A function on or off, RIT and XIT by their own fields.
    void SetFunction(const QByteArray& name, bool on);
    std::optional<bool> Function(const QByteArray& name) const;

    // The fields in which `other` differs.
    Fields DifferencesTo(const RadioState& other) const;
};
Q_DECLARE_OPERATORS_FOR_FLAGS(RadioState::Fields)
