#pragma once

#include "midi/ConfigMidiContext.h"
#include "midi/MidiPump.h"

#include <QWidget>
#include <memory>

class LogView;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

// "Configure Midi Input": lists the MIDI input devices, opens the selected
// one and starts the main window's pump, closes MIDI, opens the key map
// editor of the current rig type, and shows what arrives in a monitor log of
// its own once a device has been opened here. Its load steps (including the
// automatic connection to a first device named "Vorn-MIDI") run when it is
// constructed; it deletes itself when closed.
class frmConfig_Midi : public QWidget {
    Q_OBJECT
public:
    explicit frmConfig_Midi(const ConfigMidiContext& context, QWidget* parent = nullptr);

    static QString AutoConnectDeviceName() { return QStringLiteral("Vorn-MIDI"); }

public slots:
    void btnOpenInputDevice_Click();
    void cmdClose_Click();
    void cmdMapMidi_Click();
    void cmdExit_Click();
    // Stops the monitor for good (until the window is opened anew).
    void StopMonitor();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void FillDeviceList();
    bool WantsAutoConnect() const;
    void OpenSelectedDevice();
    void StartMonitor();

    ConfigMidiContext context_;
    QLabel* Label1 = nullptr;
    QListWidget* lstInDevs = nullptr;
    QLabel* Label2 = nullptr;
    LogView* txtMidiInDump = nullptr;
    QPushButton* btnOpenInputDevice = nullptr;
    QPushButton* cmdMapMidi = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdExit = nullptr;
    QTimer* Timer1 = nullptr;
    // The monitor timer is "enabled" until "&Close MIDI": a later open sets
    // its interval again but does not restart it.
    bool timer1Enabled_ = true;
    std::unique_ptr<MidiPump> monitor_;
};
