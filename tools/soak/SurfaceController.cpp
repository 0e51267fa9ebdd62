#include "SurfaceController.h"

#include "vsurface/JackSurfacePorts.h"
#include "vsurface/MidiSurfacePorts.h"

namespace {
constexpr unsigned char kControlChange = 0xB0;
constexpr unsigned char kHomeWheel = 0x64;
constexpr unsigned char kOneUp = 0x41;
constexpr unsigned char kOneDown = 0x3F;
// The wheel's centre: speed 0, a value the surface never sends for a turn.
constexpr unsigned char kNoSpeed = 0x40;
constexpr unsigned char kPressed = 0x7F;
constexpr unsigned char kReleased = 0x00;
// Split, RIT, RIT clear, noise blanker, mode step; and the long presses of
// buttons 1, 2, 3, 5 and 6 (3 and 6 have empty entries).
constexpr unsigned char kButtons[] = {0x01, 0x02, 0x03, 0x05, 0x06, 0x0B, 0x0C, 0x0D, 0x0F, 0x10};
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
        clicksSent_ += Send(kHomeWheel, up ? kOneUp : kOneDown);
    TakeLights();
    wheel_.start(int(random_.bounded(kWheelMinMs, kWheelMaxMs)));
}

void SurfaceController::PressButton()
{
    const unsigned char button = kButtons[random_.bounded(int(std::size(kButtons)))];
    pressesSent_ += Send(button, kPressed);
    // Let go in a moment, even when the hand is off the controls by then.
    QTimer::singleShot(int(random_.bounded(kHoldMinMs, kHoldMaxMs)), this, [this, button] { Send(button, kReleased); });
    buttons_.start(int(random_.bounded(kButtonMinMs, kButtonMaxMs)));
}

void SurfaceController::SendUnmapped()
{
    Send(kHomeWheel, kNoSpeed);
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
