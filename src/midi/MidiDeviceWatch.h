#pragma once

#include <QObject>
#include <QString>

#include <string>
#include <vector>

class ILogSink;
class MidiInput;
class QTimer;

// Brings the MIDI device back by itself. While MIDI is in use it looks at the
// device list about once a second (RtMidi does not tell a client that its
// source went away; the list is cheap to read). When the open device's port
// is no longer listed, it lets the MIDI input release the device (the lamp
// turns red) and says so in the MIDI log, once. While the device is gone it
// looks for a device of the same name and has it opened again, and the log
// says so. Closing MIDI ends the watch. A device that goes and comes back
// under the same port name between two looks is not noticed. UI thread only.
class MidiDeviceWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 1000;

    MidiDeviceWatch(MidiInput& midi, ILogSink& log, QObject* parent = nullptr);

    // One look; its timer calls it.
    void Tick();

private:
    void OnConnectedChanged(bool connected);
    void Stop();
    void CheckStillThere(const std::vector<std::string>& portNames);
    void LookForLostDevice(const std::vector<std::string>& portNames);

    MidiInput& midi_;
    ILogSink& log_;
    QTimer* timer_;
    // The name of the device that went away; empty while it is there.
    QString lostName_;
    bool reopenFailureLogged_ = false;
};
