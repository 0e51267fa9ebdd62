#pragma once

#include "midi/LearnWalk.h"

#include <QWidget>

class IAlerts;
class LearnedControls;
class MidiInput;
class QLabel;
class QPushButton;
struct MidiEvent;

// "Learn Controls": walks the user through the surface's sixteen controls with
// the open MIDI device, one prompt at a time, each with Skip and Cancel, and
// shows what it heard. While it is open, the device's messages come here and
// not to the radio. At the end the learned table is stored; Cancel (or the
// close box) stores nothing. Application-modal; deletes itself when closed.
// UI thread only.
class frmLearnControls : public QWidget {
    Q_OBJECT
public:
    frmLearnControls(MidiInput& midi, LearnedControls& learned, IAlerts& alerts,
                     QWidget* parent = nullptr);
    ~frmLearnControls() override;

    void cmdSkip_Click();
    void cmdCancel_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Hear(const MidiEvent& message);
    void ShowStep();
    void Finish();

    MidiInput& midi_;
    LearnedControls& learned_;
    IAlerts& alerts_;
    LearnWalk walk_;
    QLabel* lblStep = nullptr;
    QLabel* lblPrompt = nullptr;
    QLabel* lblHeard = nullptr;
    QPushButton* cmdSkip = nullptr;
    QPushButton* cmdCancel = nullptr;
};
