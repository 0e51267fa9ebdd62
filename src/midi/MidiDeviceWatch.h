#pragma once

#include <QObject>
#include <QString>

#include <string>
#include <vector>

class ILogSink;
class IWatchedMidiPort;
class QTimer;

// Brings a MIDI device back by itself. While a port is in use it looks at the
// device list about once a second (RtMidi does not tell a client that its
// device went away; the list is cheap to read). When the open port is no
// longer listed, it lets the port's owner release it (for the input the lamp
// turns red) and says so in the MIDI log, once. While the device is gone it
// looks for a device of the same name and has its port opened again, and the
// log says so. A device that goes and comes back under the same port name
// between two looks is not noticed. UI thread only.
class MidiDeviceWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 1000;

    // `what` names the port in the log: "MIDI device", "MIDI output".
    MidiDeviceWatch(IWatchedMidiPort& port, ILogSink& log, QString what, QObject* parent = nullptr);

    // Watches the port that has just been opened.
    void Watch();
    // Looks for the device `name`, which is not there now, and opens it when it comes.
    void WaitFor(const QString& name);
    void Stop();

    // One look; its timer calls it.
    void Tick();

private:
    void CheckStillThere(const std::vector<std::string>& portNames);
    void LookForLostDevice(const std::vector<std::string>& portNames);

    IWatchedMidiPort& port_;
    ILogSink& log_;
    QString what_;
    QTimer* timer_;
    // The name of the device that went away; empty while it is there.
    QString lostName_;
    bool reopenFailureLogged_ = false;
};
