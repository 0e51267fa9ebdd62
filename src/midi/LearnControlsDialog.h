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
class LearnControlsDialog : public QWidget {
    Q_OBJECT
public:
    LearnControlsDialog(MidiInput& midi, LearnedControls& learned, IAlerts& alerts,
                     QWidget* parent = nullptr);
    ~LearnControlsDialog() override;

    // Its buttons "&Skip" and "Cancel" (which reads "&Close" once all is learned).
    void Skip();
    void Cancel();

    // Whether every control has been walked through.
    bool IsFinished() const { return walk_.Finished(); }
    // What it shows: the prompt, and what it heard last.
    QString PromptText() const;
    QString HeardText() const;

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
    QLabel* stepLabel_ = nullptr;
    QLabel* promptLabel_ = nullptr;
    QLabel* heardLabel_ = nullptr;
    QPushButton* skipButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};
