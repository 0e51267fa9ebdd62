#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// The program's copy of the radio's state, whatever the radio: filled by the
// poll, and moved at once by the program's own commands (a wheel step, a
// client's frequency), so that the next step builds on them before the radio
// has answered. UI thread only.
struct RadioState {
    // The radio answers the poll; MIDI input and the radio commands of
    // network clients are acted on only while it does.
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
    std::optional<bool> rit;
    std::optional<bool> xit;
};
