#pragma once

#include <QList>
#include <QString>
#include <rtmidi/RtMidi.h>

#include <memory>
#include <string>
#include <vector>

// A MIDI device as the user sees it: its name and its number, RtMidi's port
// index at the time of listing.
struct MidiDevice {
    QString name;
    int number = -1;
};

// Lists the MIDI input or output devices. A device is named after its client (the text
// before the first ':' of RtMidi's port name; on Windows the port name without
// the index RtMidi puts after it), cut to 31 characters. The ALSA
// kernel client "Midi Through" is no device: it only loops MIDI back, and
// listed first it would keep the automatic connection from ever seeing a
// surface. Nor are the program's own ports (its input is listed among the
// outputs and the other way round). UI thread only.
class MidiDeviceList {
public:
    static constexpr int kNameLength = 31;

    enum class Direction { Input, Output };

    // The name the program's MIDI clients go by.
    static constexpr const char* kClientName = "Vorn-MIDI Connector";

    MidiDeviceList(RtMidi::Api api, Direction direction);
    ~MidiDeviceList();

    // On Linux the ALSA sequencer, or JACK when there is no sequencer device
    // (VMC_MIDI_API=alsa|jack forces one); elsewhere the system's own.
    static RtMidi::Api ChooseBackend();
    // The device's name as lists show it and the automatic connection and
    // the watch compare it.
    static QString NameOf(const std::string& portName, RtMidi::Api api);
    // What tells a port from another across two looks at the list: the port
    // name, but on Windows, whose port names carry an index that moves when
    // an earlier device goes, the device's name.
    static std::string Identity(const std::string& portName, RtMidi::Api api);
    RtMidi::Api api() const { return api_; }

    // Takes a fresh look at the devices; a MIDI system that cannot be reached has none.
    QList<MidiDevice> Refresh();
    // The port names of the devices listed now, leaving the numbers of the
    // last listing as they were.
    std::vector<std::string> LookAtPortNames();
    // RtMidi's port name of device `number` of the last listing; empty when there is none.
    std::string PortName(int number) const;

private:
    bool IsDevice(const std::string& portName) const;
    // Every port of the direction RtMidi lists, in the order of its port numbers.
    std::vector<std::string> AllPortNames();

    RtMidi::Api api_;
    Direction direction_;
    // Shared only for its deleter: RtMidi's own destructor is not public.
    std::shared_ptr<RtMidi> lister_;
    std::vector<std::string> portNames_;
};
