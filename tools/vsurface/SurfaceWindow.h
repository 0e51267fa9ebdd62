#pragma once

#include "vsurface/ButtonGesture.h"
#include "vsurface/ISurfacePorts.h"
#include "vsurface/SurfaceEncoder.h"
#include "vsurface/WheelSpeedMeter.h"

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <optional>

class QComboBox;
class QDial;
class QLabel;
class QLayout;
class QPushButton;
class QSlider;
class QTimer;

// The on-screen control surface. Mouse and keyboard both drive the same widgets
// (objectNames dial, slider, button1..button6, modeSelector, imitationSelector,
// lastMessage, portStatus), and every message goes out through `ports` (none
// when it is null). A button lights while the program has its light on.
class SurfaceWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDialPositions = 100;
    static constexpr int kFastSteps = 6;
    static constexpr int kSliderFastSteps = 8;

    SurfaceWindow(ISurfacePorts* ports, const QString& portStatus, Imitation imitation = Imitation::Surface,
                  QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildWheel();
    QWidget* BuildSlider();
    QWidget* BuildButtons();
    QLayout* BuildLastMessage();
    QWidget* BuildKeyHelp();
    void ShowPortStatus(const QString& text, bool ok);
    static void ShowControllerState(QWidget* control, QLabel* caption,
                                    std::optional<int> controller, const QString& mode,
                                    const QString& activeModes);

    void OnModeChosen(int index);
    void OnDialMoved(int value);
    void OnSliderMoved(int value);
    void TurnDialBy(int steps);
    void MoveSliderBy(int steps);

    void PressButton(int button, bool forceLong);
    void ReleaseButton(int button);
    void OnHoldElapsed(int button);
    void SendEdges(int button, const std::vector<ButtonGesture::Edge>& edges);
    void Send(const std::optional<MidiBytes>& message);
    void ShowLights();

    static int ButtonForKey(int key);

    ISurfacePorts* out_;
    SurfaceEncoder encoder_;
    WheelSpeedMeter speedMeter_;
    QElapsedTimer clock_;
    std::array<ButtonGesture, SurfaceEncoder::kButtonCount> gestures_;
    std::array<QTimer*, SurfaceEncoder::kButtonCount> holdTimers_{};
    std::array<QPushButton*, SurfaceEncoder::kButtonCount> buttons_{};
    QComboBox* modeSelector_ = nullptr;
    QDial* dial_ = nullptr;
    QLabel* wheelCaption_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* sliderValue_ = nullptr;
    QLabel* sliderCaption_ = nullptr;
    QLabel* buttonsCaption_ = nullptr;
    QLabel* lastMessage_ = nullptr;
    QLabel* portStatus_ = nullptr;
    int dialValue_ = 0;
};
