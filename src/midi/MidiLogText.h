#pragma once

#include "core/MidiEvent.h"

#include <QStringList>

// The MIDI log's lines for one event: "B0 64 41 Timestamp: 0001223F" for a
// short message; for a piece of a system-exclusive message a header, the
// timestamp, the byte count and the bytes in lines of ten.
class MidiLogText {
public:
    static QStringList Lines(const MidiEvent& event);

private:
    static QString Hex8(std::uint32_t value);
    static QStringList SysexLines(const MidiEvent& event);
};
