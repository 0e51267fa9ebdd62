#pragma once

#include "vsurface/ISurfacePorts.h"

#include <QObject>
#include <QRandomGenerator>
#include <QTimer>
#include <memory>

// The controller on the desk, as one JACK client "Vorn-MIDI" that sends and
// listens: the wheel turned one click at a time several times a second (now
// and then a quick burst), buttons pressed now and then, short and long. Never
// button 4, whose VFO swap and copy would move VFO A behind the count.
class SurfaceController : public QObject {
    Q_OBJECT
public:
    explicit SurfaceController(QRandomGenerator& random, QObject* parent = nullptr);
    ~SurfaceController() override;

    // Plugged in: false, with the reason in lastError(), when JACK refuses.
    bool Plug();
    void Unplug();
    bool Plugged() const { return ports_ != nullptr; }

    // The hand on the wheel and the buttons, or off them.
    void Turn();
    void Stop();
    bool Turning() const { return wheel_.isActive(); }

    // The home wheel at a value of no speed, which no map has a key for.
    void SendUnmapped();

    int ClicksSent() const { return clicksSent_; }
    int PressesSent() const { return pressesSent_; }
    int LightsReceived() const { return lightsReceived_; }
    int Unsent() const { return unsent_; }
    QString lastError() const { return lastError_; }

private:
    void TurnWheel();
    void PressButton();
    bool Send(unsigned char controller, unsigned char value);
    void TakeLights();

    QRandomGenerator& random_;
    std::unique_ptr<ISurfacePorts> ports_;
    QTimer wheel_;
    QTimer buttons_;
    int clicksSent_ = 0;
    int pressesSent_ = 0;
    int lightsReceived_ = 0;
    int unsent_ = 0;
    QString lastError_;
};
