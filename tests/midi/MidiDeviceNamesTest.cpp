#include "midi/MidiDeviceList.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

// The name a device is listed under, which the automatic connection and the
// watch compare with "Vorn-MIDI" and with the name of a device that went:
// RtMidi's port name as each MIDI system writes it.
TEST(MidiDeviceNames, EachSystemsPortNameGivesTheDevicesName)
{
    const struct {
        const char* portName;
        RtMidi::Api api;
        const char* name;
    } rows[] = {
        {"Vorn-MIDI:Vorn-MIDI MIDI 1 24:0", RtMidi::LINUX_ALSA, "Vorn-MIDI"},
        {"Vorn-MIDI:out", RtMidi::UNIX_JACK, "Vorn-MIDI"},
        // WinMM's names carry the port's index after a blank; the device's own name may end in a number.
        {"Vorn-MIDI 0", RtMidi::WINDOWS_MM, "Vorn-MIDI"},
        {"Vorn-MIDI 12", RtMidi::WINDOWS_MM, "Vorn-MIDI"},
        {"DJControl Inpulse 200 3", RtMidi::WINDOWS_MM, "DJControl Inpulse 200"},
        {"Vorn-MIDI", RtMidi::WINDOWS_MM, "Vorn-MIDI"},
        {"CMD Micro:1 0", RtMidi::WINDOWS_MM, "CMD Micro:1"},
        // Cut to the 31 characters of WinMM's name field.
        {"A controller with a very long name indeed 1", RtMidi::WINDOWS_MM, "A controller with a very long n"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(MidiDeviceList::NameOf(row.portName, row.api), QString::fromLatin1(row.name)) << row.portName;
}

// A device stays the one opened when an earlier one goes: on WinMM its index
// moves, on ALSA a port that comes back is a new port.
TEST(MidiDeviceNames, APortIsTheSameDeviceAcrossLooksByItsSystemsRule)
{
    const auto same = [](const char* a, const char* b, RtMidi::Api api) {
        return MidiDeviceList::Identity(a, api) == MidiDeviceList::Identity(b, api);
    };
    EXPECT_TRUE(same("Vorn-MIDI 1", "Vorn-MIDI 0", RtMidi::WINDOWS_MM));
    EXPECT_FALSE(same("Vorn-MIDI 1", "X-Touch MINI 1", RtMidi::WINDOWS_MM));
    EXPECT_FALSE(same("Vorn-MIDI:Vorn-MIDI MIDI 1 24:0", "Vorn-MIDI:Vorn-MIDI MIDI 1 28:0", RtMidi::LINUX_ALSA));
}
