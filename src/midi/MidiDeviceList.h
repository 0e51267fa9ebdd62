#pragma once

#include <QList>
#include <QString>
#include <rtmidi/RtMidi.h>

#include <memory>
#include <string>
#include <vector>

// A MIDI input device as the user sees it: its name and its number, RtMidi's
// input port index at the time of listing.
struct MidiDevice {
    QString name;
    int number = -1;
};

// Lists the MIDI input devices. A device is named after its client (the text
// before the first ':' of RtMidi's port name), cut to 31 characters. UI thread only.
class MidiDeviceList {
public:
    static constexpr int kNameLength = 31;

    MidiDeviceList(RtMidi::Api api, std::string clientName);
    ~MidiDeviceList();

    // ALSA sequencer, or JACK when there is no sequencer device;
    // VMC_MIDI_API=alsa|jack forces one.
    static RtMidi::Api ChooseBackend();
    static QString NameOf(const std::string& portName);

    // Takes a fresh look at the devices; a MIDI system that cannot be reached has none.
    QList<MidiDevice> Refresh();
    // RtMidi's port name of device `number` of the last listing; empty when there is none.
    std::string PortName(int number) const;

private:
    RtMidi::Api api_;
    std::string clientName_;
    std::unique_ptr<RtMidiIn> lister_;
    std::vector<std::string> portNames_;
};
