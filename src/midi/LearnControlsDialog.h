#pragma once

#include "midi/LearnWalk.h"

#include <QWidget>

class IAlerts;
class LearnedControls;
class MidiInput;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;
struct MidiEvent;

// "Learn Controls": walks the user through the surface's sixteen controls with
// the open MIDI device, one prompt at a time, each with Skip and Cancel, and
// shows what it heard. A wheel's turn ends when it has been still for
// kTurnPauseMs; the encoding found for the wheel learned last is shown and
// may be changed by hand. While it is open, the device's messages come here
// and not to the radio. At the end the learned table is stored; Cancel (or
// the close box) stores nothing. Application-modal; deletes itself when
// closed. UI thread only.
class LearnControlsDialog : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTurnPauseMs = 600;

    LearnControlsDialog(MidiInput& midi, LearnedControls& learned, IAlerts& alerts,
                     QWidget* parent = nullptr);
    ~LearnControlsDialog() override;

    // Its buttons "&Skip" and "Cancel" (which reads "&Close" once all is learned).
    void Skip();
    void Cancel();

    // Whether every control has been walked through.
    bool IsFinished() const { return walk_.Finished(); }
    // What it shows: the prompt, what it heard last, and the encoding of the
    // wheel learned last (empty before one).
    QString PromptText() const;
    QString HeardText() const;
    QString EncodingText() const;
    // The user's choice of that wheel's encoding.
    void ChooseEncoding(WheelEncoding encoding);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Hear(const MidiEvent& message);
    void Show(LearnWalk::Heard heard);
    void ShowStep();
    void Finish();

    MidiInput& midi_;
    LearnedControls& learned_;
    IAlerts& alerts_;
    LearnWalk walk_;
    QLabel* stepLabel_ = nullptr;
    QLabel* promptLabel_ = nullptr;
    QLabel* heardLabel_ = nullptr;
    QLabel* encodingLabel_ = nullptr;
    QComboBox* encodingBox_ = nullptr;
    QPushButton* skipButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QTimer* turnPause_ = nullptr;
};
