#pragma once

#include <QStringList>
#include <QWidget>

class IAlerts;
class LogView;
class MidiInput;
class MidiOutput;
class QComboBox;
class QListWidget;
class QPushButton;
struct Options;

// "Configure Midi Input": lists the MIDI input devices, asks the MIDI input to
// open the selected one or to close, offers the output devices for the
// controller's lights and asks for the lights window, asks for the key map editor of the
// current rig type, asks for the learning (or forgetting) of another
// controller's controls, and shows what arrives in a monitor log of its own
// once a device has been opened here. Its load steps (including the automatic
// connection to a first device named "Vorn-MIDI") run when it is constructed;
// it deletes itself when closed. UI thread only.
class MidiSetupWindow : public QWidget {
    Q_OBJECT
public:
    MidiSetupWindow(MidiInput& midi, MidiOutput& output, const Options& options, IAlerts& alerts,
                    QWidget* parent = nullptr);
    ~MidiSetupWindow() override;

    static QString AutoConnectDeviceName() { return QStringLiteral("Vorn-MIDI"); }

    // Its buttons: "&Open Selected Input Device", "&Close MIDI", "&Map MIDI",
    // "E&xit", "&Learn Controls...", "&Forget Learned Controls" and "L&ights...".
    void OpenSelected();
    void CloseMidi();
    void ShowKeyMap();
    void Exit();
    void LearnControls();
    void ForgetControls();
    void ShowLights();
    // The output device list: the device named `name` ("" for none) is chosen.
    void ChooseOutput(const QString& name);
    // Stops the monitor for good (until the window is opened anew).
    void StopMonitor();

    // For tests: selects the device listed under `name`; false when none is.
    bool SelectDevice(const QString& name);
    QStringList ListedDevices() const;
    QStringList ListedOutputs() const;
    QString MonitorText() const;

signals:
    // "&Map MIDI": the editor of the current rig type is wanted.
    void keyMapWanted();
    // "&Learn Controls...", with a device open: the learn walk is wanted.
    void learnControlsWanted();
    // "&Forget Learned Controls", confirmed by the user.
    void forgetControlsWanted();
    // The user chose the output device for the lights ("" for none).
    void outputChosen(const QString& name);
    // "L&ights...": the lights window is wanted.
    void lightsWanted();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Load();
    void FillDeviceList();
    void FillOutputList();
    void TellOutputChoice();
    bool WantsAutoConnect() const;
    void OpenSelectedDevice();

    MidiInput& midi_;
    MidiOutput& output_;
    const Options& options_;
    IAlerts& alerts_;
    QListWidget* deviceList_ = nullptr;
    QComboBox* outputList_ = nullptr;
    LogView* monitorLog_ = nullptr;
    // The monitor is "enabled" until "&Close MIDI": a later open in the same
    // window does not start it again.
    bool monitorEnabled_ = true;
};
