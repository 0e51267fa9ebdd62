#pragma once

#include "core/MidiEvent.h"
#include "midi/IWatchedMidiPort.h"
#include "midi/MidiDeviceList.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class ILogSink;
class MidiDeviceWatch;

// The program's MIDI output to the controller, for its lights: the device the
// user chose, by name, kept open while it is wanted. A device that is not
// there, or goes away, is opened when it comes (back), by a watch of its own;
// each opening emits opened() so that everything the controller shows is sent
// anew. A send while nothing is open does nothing; a failing device is told
// in the MIDI log once, never in a box, so that it holds up neither the poll
// nor the input. UI thread only.
class MidiOutput : public QObject, public IWatchedMidiPort {
    Q_OBJECT
public:
    static constexpr int kJackDeliveryMs = 100;

    explicit MidiOutput(ILogSink& log, QObject* parent = nullptr);
    ~MidiOutput() override;

    QList<MidiDevice> ListDevices() { return devices_.Refresh(); }
    // What Use does when the device is not there: waits for it and says so
    // (a device the user chose), or lets it be (a guess).
    enum class IfAbsent { WaitForIt, LetItBe };

    // Opens the output of the device named `name` and keeps it open; an empty
    // name closes. The device already open stays open and is told anew (opened()).
    void Use(const QString& name, IfAbsent ifAbsent = IfAbsent::WaitForIt);
    // Closes the output and forgets the device. On JACK it first waits up to
    // kJackDeliveryMs for what was just sent to be delivered: JACK carries it
    // in its next cycles, and a port closed meanwhile takes it along.
    void Close();
    bool IsOpen() const { return port_ != nullptr; }
    // The device wanted; empty for none.
    const QString& DeviceName() const { return wanted_; }

    void Send(const MidiEvent& message);

    std::vector<std::string> LookAtPortNames() override { return devices_.LookAtPortNames(); }
    const std::string& PortName() const override { return portName_; }
    RtMidi::Api Api() const override { return devices_.api(); }
    void ReleaseLostDevice() override;
    QString Reopen(const std::string& portName) override;

signals:
    // The output has been opened, opened again, or asked for anew: all it
    // shows is to be sent.
    void opened();

private:
    QString Connect(const std::string& portName);
    static void OnError(RtMidiError::Type type, const std::string& text, void* self);

    ILogSink& log_;
    MidiDeviceList devices_;
    MidiDeviceWatch* watch_;
    QString wanted_;
    std::string portName_;
    // Set by RtMidi's error callback, which runs inside the call that failed.
    std::string error_;
    bool sendFailureLogged_ = false;
    QElapsedTimer sinceSent_;
    std::unique_ptr<RtMidiOut> port_;
};
