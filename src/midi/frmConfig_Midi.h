#pragma once

#include <QWidget>

class IAlerts;
class LogView;
class MidiInput;
class QLabel;
class QListWidget;
class QPushButton;
struct Options;

// "Configure Midi Input": lists the MIDI input devices, asks the MIDI input to
// open the selected one or to close, asks for the key map editor of the
// current rig type, asks for the learning (or forgetting) of another
// controller's controls, and shows what arrives in a monitor log of its own
// once a device has been opened here. Its load steps (including the automatic
// connection to a first device named "Vorn-MIDI") run when it is constructed;
// it deletes itself when closed. UI thread only.
class frmConfig_Midi : public QWidget {
    Q_OBJECT
public:
    frmConfig_Midi(MidiInput& midi, const Options& options, IAlerts& alerts,
                   QWidget* parent = nullptr);
    ~frmConfig_Midi() override;

    static QString AutoConnectDeviceName() { return QStringLiteral("Vorn-MIDI"); }

public slots:
    void btnOpenInputDevice_Click();
    void cmdClose_Click();
    void cmdMapMidi_Click();
    void cmdExit_Click();
    void cmdLearn_Click();
    void cmdForget_Click();
    // Stops the monitor for good (until the window is opened anew).
    void StopMonitor();

signals:
    // "&Map MIDI": the editor of this rig type is wanted.
    void mapEditorWanted(const QString& rigtype);
    // "&Learn Controls...", with a device open: the learn walk is wanted.
    void learnControlsWanted();
    // "&Forget Learned Controls", confirmed by the user.
    void forgetControlsWanted();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void FillDeviceList();
    bool WantsAutoConnect() const;
    void OpenSelectedDevice();

    MidiInput& midi_;
    const Options& options_;
    IAlerts& alerts_;
    QLabel* Label1 = nullptr;
    QListWidget* lstInDevs = nullptr;
    QLabel* Label2 = nullptr;
    LogView* txtMidiInDump = nullptr;
    QPushButton* btnOpenInputDevice = nullptr;
    QPushButton* cmdMapMidi = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdExit = nullptr;
    QPushButton* cmdLearn = nullptr;
    QPushButton* cmdForget = nullptr;
    // The monitor is "enabled" until "&Close MIDI": a later open in the same
    // window does not start it again.
    bool monitorEnabled_ = true;
};
