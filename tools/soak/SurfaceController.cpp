#include "SurfaceController.h"

#include "core/SurfaceControls.h"
#include "vsurface/JackSurfacePorts.h"
#include "vsurface/MidiSurfacePorts.h"

namespace {
using Id = SurfaceControls::Id;
constexpr unsigned char kControlChange = 0xB0;
// Split, RIT, RIT clear, noise blanker, mode step; and the long presses of
// buttons 1, 2, 3, 5 and 6 (3 and 6 have empty entries).
constexpr Id kButtons[] = {Id::Button1,     Id::Button2,     Id::Button3,     Id::Button5,     Id::Button6,
                           Id::Button1Long, Id::Button2Long, Id::Button3Long, Id::Button5Long, Id::Button6Long};
constexpr int kWheelMinMs = 60;
constexpr int kWheelMaxMs = 300;
constexpr int kButtonMinMs = 1500;
constexpr int kButtonMaxMs = 6000;
constexpr int kHoldMinMs = 40;
constexpr int kHoldMaxMs = 200;
// One wheel turn in this many is a quick burst of several clicks.
constexpr int kBurstOneIn = 15;
constexpr int kBurstMaxClicks = 6;
}

SurfaceController::SurfaceController(QRandomGenerator& random, QObject* parent) : QObject(parent), random_(random)
{
    wheel_.setSingleShot(true);
    buttons_.setSingleShot(true);
    connect(&wheel_, &QTimer::timeout, this, &SurfaceController::TurnWheel);
    connect(&buttons_, &QTimer::timeout, this, &SurfaceController::PressButton);
}

SurfaceController::~SurfaceController() = default;

bool SurfaceController::Plug()
{
    try {
        ports_ = std::make_unique<JackSurfacePorts>(QStringLiteral("Vorn-MIDI"));
        return true;
    } catch (const MidiSurfacePorts::Error& e) {
        lastError_ = QString::fromLocal8Bit(e.what());
        return false;
    }
}

void SurfaceController::Unplug()
{
    TakeLights();
    ports_.reset();
}

void SurfaceController::Turn()
{
    wheel_.start(int(random_.bounded(kWheelMinMs, kWheelMaxMs)));
    buttons_.start(int(random_.bounded(kButtonMinMs, kButtonMaxMs)));
}

void SurfaceController::Stop()
{
    wheel_.stop();
    buttons_.stop();
}

void SurfaceController::TurnWheel()
{
    const int clicks = random_.bounded(kBurstOneIn) == 0 ? int(random_.bounded(2, kBurstMaxClicks + 1)) : 1;
    const bool up = random_.bounded(2) == 0;
    for (int i = 0; i < clicks; ++i)
        clicksSent_ += Send(SurfaceControls::Byte(Id::WheelHome), SurfaceControls::WheelValue(1, up));
    TakeLights();
    wheel_.start(int(random_.bounded(kWheelMinMs, kWheelMaxMs)));
}

void SurfaceController::PressButton()
{
    const unsigned char button = SurfaceControls::Byte(kButtons[random_.bounded(int(std::size(kButtons)))]);
    pressesSent_ += Send(button, SurfaceControls::kPressed);
    // Let go in a moment, even when the hand is off the controls by then.
    QTimer::singleShot(int(random_.bounded(kHoldMinMs, kHoldMaxMs)), this, [this, button] { Send(button, SurfaceControls::kReleased); });
    buttons_.start(int(random_.bounded(kButtonMinMs, kButtonMaxMs)));
}

void SurfaceController::SendUnmapped()
{
    // The wheel's centre, speed 0: a value the surface never sends for a turn.
    Send(SurfaceControls::Byte(Id::WheelHome), SurfaceControls::kWheelCentre);
}

bool SurfaceController::Send(unsigned char controller, unsigned char value)
{
    if (!ports_) {
        ++unsent_;
        return false;
    }
    try {
        ports_->Send({kControlChange, controller, value});
        return true;
    } catch (const std::runtime_error& e) {
        lastError_ = QString::fromLocal8Bit(e.what());
        ++unsent_;
        return false;
    }
}

void SurfaceController::TakeLights()
{
    if (ports_)
        lightsReceived_ += int(ports_->TakeReceived().size());
}
