#pragma once

#include <QString>

// The two data bytes of the MIDI message being handled, as two upper-case hex
// digits each ("64", "41"). The pump sets them just before it calls ProcessMIDI
// and leaves them until the next message, so the translation may read them.
struct MidiMessage {
    QString midiid;
    QString midicmd;
};
