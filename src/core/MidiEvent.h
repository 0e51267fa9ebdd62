#pragma once

#include <QString>

#include <array>
#include <cstdint>

// One MIDI input event as it travels from the device's callback thread through
// the event ring to the dispatcher: a short message (status and up to two data
// bytes), or one piece of up to kSysexChunk bytes of a system-exclusive message.
// A plain value, copied whole; no allocation, so the callback may build it.
struct MidiEvent {
    static constexpr int kSysexChunk = 100;
    // The kinds of channel message by their status byte's upper half, and the first system message.
    static constexpr std::uint8_t kNoteOff = 0x80;
    static constexpr std::uint8_t kNoteOn = 0x90;
    static constexpr std::uint8_t kControlChange = 0xB0;
    static constexpr std::uint8_t kPitchBend = 0xE0;
    static constexpr std::uint8_t kFirstSystem = 0xF0;

    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    // Milliseconds since the device was opened.
    std::uint32_t timestamp = 0;
    // Bytes of a system-exclusive piece in sysex; 0 for a short message.
    std::uint8_t sysexLength = 0;
    std::array<std::uint8_t, kSysexChunk> sysex{};

    bool IsSysex() const { return sysexLength != 0; }
    std::uint8_t Kind() const { return status & 0xF0; }

    static MidiEvent Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                           std::uint32_t timestamp = 0)
    {
        MidiEvent e;
        e.status = status;
        e.data1 = data1;
        e.data2 = data2;
        e.timestamp = timestamp;
        return e;
    }

    // Two upper-case hexadecimal digits, as map keys and logs write a byte.
    static QString Hex2(std::uint8_t byte)
    {
        return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    }
};
