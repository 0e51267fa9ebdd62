#include "vsurface/SurfaceWindow.h"

#include <QComboBox>
#include <QFrame>
#include <QDial>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <exception>

namespace {
constexpr int kSliderMax = 127;
constexpr int kBoxWidth = 200;
// How often the window looks for the program's lights.
constexpr int kLightsLookMs = 20;

QLabel* Caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: #555;"));
    return label;
}

// The window takes every key itself; a control with focus would swallow arrows and digits.
template <typename W> W* Unfocused(W* widget)
{
    widget->setFocusPolicy(Qt::NoFocus);
    return widget;
}
}

SurfaceWindow::SurfaceWindow(ISurfacePorts* ports, const QString& portStatus, Imitation imitation, QWidget* parent)
    : QWidget(parent), out_(ports)
{
    setWindowTitle(QStringLiteral("Vorn-MIDI virtual control surface"));
    setFocusPolicy(Qt::StrongFocus);
    clock_.start();

    portStatus_ = new QLabel(this);
    portStatus_->setObjectName(QStringLiteral("portStatus"));
    ShowPortStatus(portStatus, out_ != nullptr);

    modeSelector_ = Unfocused(new QComboBox(this));
    modeSelector_->setObjectName(QStringLiteral("modeSelector"));
    for (SurfaceMode mode : {SurfaceMode::Home, SurfaceMode::Mode1, SurfaceMode::Mode2,
                             SurfaceMode::Mode3})
        modeSelector_->addItem(SurfaceEncoder::ModeName(mode));
    auto* imitations = Unfocused(new QComboBox(this));
    imitations->setObjectName(QStringLiteral("imitationSelector"));
    for (Imitation kind : {Imitation::Surface, Imitation::TwosComplementJog, Imitation::SignMagnitudeEncoder})
        imitations->addItem(SurfaceEncoder::ImitationName(kind));
    imitations->setCurrentIndex(int(imitation));
    encoder_.SetImitation(imitation);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(new QLabel(QStringLiteral("Mode:"), this));
    modeRow->addWidget(modeSelector_);
    modeRow->addStretch();
    modeRow->addWidget(new QLabel(QStringLiteral("Imitates:"), this));
    modeRow->addWidget(imitations);

    auto* controls = new QHBoxLayout;
    controls->setSpacing(10);
    controls->addWidget(BuildWheel(), 1);
    controls->addWidget(BuildSlider(), 1);
    controls->addWidget(BuildButtons(), 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(portStatus_);
    layout->addLayout(modeRow);
    layout->addLayout(controls);
    layout->addLayout(BuildLastMessage());
    layout->addWidget(BuildKeyHelp());

    connect(modeSelector_, &QComboBox::currentIndexChanged, this, &SurfaceWindow::OnModeChosen);
    connect(imitations, &QComboBox::currentIndexChanged, this, [this](int index) {
        encoder_.SetImitation(static_cast<Imitation>(index));
        OnModeChosen(modeSelector_->currentIndex());
    });
    OnModeChosen(modeSelector_->currentIndex());
    auto* lights = new QTimer(this);
    connect(lights, &QTimer::timeout, this, &SurfaceWindow::ShowLights);
    lights->start(kLightsLookMs);
}

QWidget* SurfaceWindow::BuildWheel()
{
    auto* box = new QGroupBox(QStringLiteral("Wheel A"), this);
    box->setMinimumWidth(kBoxWidth);
    dial_ = Unfocused(new QDial(box));
    dial_->setObjectName(QStringLiteral("dial"));
    dial_->setRange(0, kDialPositions - 1);
    dial_->setWrapping(true);
    dial_->setNotchesVisible(true);
    dial_->setMinimumSize(150, 150);
    dial_->setToolTip(QStringLiteral("Turn clockwise to tune up; the faster, the bigger the step"));
    wheelCaption_ = Caption(QString(), box);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(dial_, 1);
    layout->addWidget(wheelCaption_);
    connect(dial_, &QDial::valueChanged, this, &SurfaceWindow::OnDialMoved);
    return box;
}

QWidget* SurfaceWindow::BuildSlider()
{
    auto* box = new QGroupBox(QStringLiteral("Slider B"), this);
    box->setMinimumWidth(kBoxWidth);
    slider_ = Unfocused(new QSlider(Qt::Vertical, box));
    slider_->setObjectName(QStringLiteral("slider"));
    slider_->setRange(0, kSliderMax);
    slider_->setTickPosition(QSlider::TicksBothSides);
    slider_->setTickInterval(16);
    slider_->setMinimumHeight(120);
    sliderValue_ = new QLabel(QStringLiteral("0"), box);
    sliderValue_->setAlignment(Qt::AlignCenter);
    sliderValue_->setStyleSheet(QStringLiteral("font-weight: bold;"));
    sliderCaption_ = Caption(QString(), box);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addStretch();
    sliderRow->addWidget(slider_);
    sliderRow->addStretch();
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(sliderRow, 1);
    layout->addSpacing(4);
    layout->addWidget(sliderValue_);
    layout->addWidget(sliderCaption_);
    connect(slider_, &QSlider::valueChanged, this, &SurfaceWindow::OnSliderMoved);
    return box;
}

QWidget* SurfaceWindow::BuildButtons()
{
    auto* box = new QGroupBox(QStringLiteral("Buttons"), this);
    box->setMinimumWidth(kBoxWidth);
    auto* grid = new QGridLayout;
    for (int i = 0; i < SurfaceEncoder::kButtonCount; ++i) {
        const int button = i + 1;
        auto* pushButton = Unfocused(new QPushButton(QString::number(button), box));
        pushButton->setObjectName(QStringLiteral("button%1").arg(button));
        pushButton->setMinimumSize(56, 44);
        pushButton->setToolTip(QStringLiteral("Short press: controller %1\n"
                                              "Long press (hold 0.6 s, or Shift+click): "
                                              "controller %2")
                                   .arg(button)
                                   .arg(button + 10));
        pushButton->installEventFilter(this);
        grid->addWidget(pushButton, i / 3, i % 3);
        buttons_[i] = pushButton;

        auto* timer = new QTimer(this);
        timer->setSingleShot(true);
        timer->setInterval(ButtonGesture::kLongPressMs);
        connect(timer, &QTimer::timeout, this, [this, button] { OnHoldElapsed(button); });
        holdTimers_[i] = timer;
    }
    auto* layout = new QVBoxLayout(box);
    layout->addStretch();
    layout->addLayout(grid);
    layout->addStretch();
    buttonsCaption_ = Caption(QString(), box);
    layout->addWidget(buttonsCaption_);
    return box;
}

QLayout* SurfaceWindow::BuildLastMessage()
{
    lastMessage_ = new QLabel(QStringLiteral("(nothing yet)"), this);
    lastMessage_->setObjectName(QStringLiteral("lastMessage"));
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSizeF(mono.pointSizeF() * 1.4);
    mono.setBold(true);
    lastMessage_->setFont(mono);
    lastMessage_->setFrameShape(QFrame::StyledPanel);
    lastMessage_->setMinimumWidth(160);
    lastMessage_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Last message sent:"), this));
    row->addWidget(lastMessage_);
    row->addStretch();
    return row;
}

QWidget* SurfaceWindow::BuildKeyHelp()
{
    auto* box = new QGroupBox(QStringLiteral("Keyboard"), this);
    auto* keys = new QLabel(QStringLiteral(
        "<table cellspacing='0' cellpadding='1'>"
        "<tr><td><b>Up / Down</b>, <b>+ / -</b></td>"
        "<td>&nbsp;turn the wheel (Shift: fast)</td></tr>"
        "<tr><td><b>Left / Right</b></td><td>&nbsp;move the slider (Shift: fast)</td></tr>"
        "<tr><td><b>1</b> ... <b>6</b></td>"
        "<td>&nbsp;press a button (hold, Shift or Ctrl: long press)</td></tr>"
        "<tr><td><b>M</b></td><td>&nbsp;next mode</td></tr></table>"), box);
    keys->setStyleSheet(QStringLiteral("color: #444;"));
    (new QVBoxLayout(box))->addWidget(keys);
    return box;
}

void SurfaceWindow::ShowPortStatus(const QString& text, bool ok)
{
    portStatus_->setText(text);
    portStatus_->setStyleSheet(ok ? QStringLiteral("color: #1a7f37; font-weight: bold;")
                                  : QStringLiteral("color: #c62828; font-weight: bold;"));
}

void SurfaceWindow::OnModeChosen(int index)
{
    encoder_.SetMode(static_cast<SurfaceMode>(index));
    speedMeter_.Reset();
    const QString mode = SurfaceEncoder::ModeName(encoder_.Mode());
    ShowControllerState(dial_, wheelCaption_, encoder_.WheelController(), mode,
                        QStringLiteral("Home and Mode 1"));
    ShowControllerState(slider_, sliderCaption_, encoder_.SliderController(), mode,
                        QStringLiteral("Mode 2 and 3"));
    const auto number = [this](int button, PressLength length) { return int(encoder_.ButtonEdge(button, length, true)[1]); };
    buttonsCaption_->setText(QStringLiteral("Short press: %1 %2-%3\nLong press: %1 %4-%5\n(hold 0.6 s, or Shift+click)")
                                 .arg(encoder_.ButtonEdge(1, PressLength::Short, true)[0] < 0xB0 ? "notes" : "controllers")
                                 .arg(number(1, PressLength::Short)).arg(number(6, PressLength::Short))
                                 .arg(number(1, PressLength::Long)).arg(number(6, PressLength::Long)));
}

void SurfaceWindow::ShowControllerState(QWidget* control, QLabel* caption,
                                        std::optional<int> controller, const QString& mode,
                                        const QString& activeModes)
{
    control->setEnabled(controller.has_value());
    if (!controller) {
        caption->setText(QStringLiteral("Silent in %1\n(active in %2)").arg(mode, activeModes));
        return;
    }
    const QString hex = QString::number(*controller, 16).toUpper();
    caption->setText(
        QStringLiteral("%1: controller %2\n(0x%3)").arg(mode).arg(*controller).arg(hex));
}

void SurfaceWindow::OnDialMoved(int value)
{
    // The dial wraps; the shorter way round is the way it was turned.
    int steps = value - dialValue_;
    if (steps > kDialPositions / 2)
        steps -= kDialPositions;
    else if (steps < -kDialPositions / 2)
        steps += kDialPositions;
    dialValue_ = value;
    if (steps == 0)
        return;
    const bool up = steps > 0;
    const int speed = speedMeter_.AddTurn(clock_.elapsed(), up, std::abs(steps));
    for (const MidiBytes& message : encoder_.Turn(up, std::abs(steps), speed))
        Send(message);
}

void SurfaceWindow::OnSliderMoved(int value)
{
    sliderValue_->setText(QString::number(value));
    Send(encoder_.Slide(value));
}

void SurfaceWindow::TurnDialBy(int steps)
{
    if (!dial_->isEnabled())
        return;
    const int wrapped = ((dial_->value() + steps) % kDialPositions + kDialPositions)
                        % kDialPositions;
    dial_->setValue(wrapped);
}

void SurfaceWindow::MoveSliderBy(int steps)
{
    if (slider_->isEnabled())
        slider_->setValue(slider_->value() + steps);
}

void SurfaceWindow::PressButton(int button, bool forceLong)
{
    buttons_[button - 1]->setDown(true);
    SendEdges(button, gestures_[button - 1].Press(forceLong));
    if (gestures_[button - 1].WaitingForHold())
        holdTimers_[button - 1]->start();
}

void SurfaceWindow::ReleaseButton(int button)
{
    holdTimers_[button - 1]->stop();
    buttons_[button - 1]->setDown(false);
    SendEdges(button, gestures_[button - 1].Release());
}

void SurfaceWindow::OnHoldElapsed(int button)
{
    SendEdges(button, gestures_[button - 1].HoldElapsed());
}

void SurfaceWindow::SendEdges(int button, const std::vector<ButtonGesture::Edge>& edges)
{
    for (const ButtonGesture::Edge& edge : edges)
        Send(encoder_.ButtonEdge(button, edge.length, edge.down));
}

void SurfaceWindow::Send(const std::optional<MidiBytes>& message)
{
    if (!message)
        return;
    lastMessage_->setText(SurfaceEncoder::Hex(*message));
    if (!out_)
        return;
    try {
        out_->Send(*message);
    } catch (const std::exception& e) {
        ShowPortStatus(QString::fromLocal8Bit(e.what()), false);
    }
}

void SurfaceWindow::ShowLights()
{
    if (!out_)
        return;
    for (const MidiBytes& message : out_->TakeReceived()) {
        if (const std::optional<SurfaceEncoder::Light> light = encoder_.LightOf(message))
            buttons_[light->button - 1]->setStyleSheet(light->on ? QStringLiteral("background: #ffb300;") : QString());
    }
}

void SurfaceWindow::keyPressEvent(QKeyEvent* event)
{
    const bool fast = event->modifiers() & Qt::ShiftModifier;
    const int button = ButtonForKey(event->key());
    if (button != 0) {
        if (!event->isAutoRepeat())
            PressButton(button, event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up: TurnDialBy(fast ? kFastSteps : 1); break;
    case Qt::Key_Down: TurnDialBy(fast ? -kFastSteps : -1); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: TurnDialBy(1); break;
    case Qt::Key_Minus: TurnDialBy(-1); break;
    case Qt::Key_Right: MoveSliderBy(fast ? kSliderFastSteps : 1); break;
    case Qt::Key_Left: MoveSliderBy(fast ? -kSliderFastSteps : -1); break;
    case Qt::Key_M:
        modeSelector_->setCurrentIndex((modeSelector_->currentIndex() + 1)
                                       % SurfaceEncoder::kModeCount);
        break;
    default: QWidget::keyPressEvent(event); break;
    }
}

void SurfaceWindow::keyReleaseEvent(QKeyEvent* event)
{
    const int button = ButtonForKey(event->key());
    if (button == 0 || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    ReleaseButton(button);
}

void SurfaceWindow::focusOutEvent(QFocusEvent* event)
{
    // A key let go while another window has focus never reports its release here;
    // let the held buttons go now rather than leave them stuck down.
    for (int button = 1; button <= SurfaceEncoder::kButtonCount; ++button)
        if (buttons_[button - 1]->isDown())
            ReleaseButton(button);
    QWidget::focusOutEvent(event);
}

bool SurfaceWindow::eventFilter(QObject* watched, QEvent* event)
{
    const auto found = std::find(buttons_.begin(), buttons_.end(), watched);
    if (found == buttons_.end())
        return QWidget::eventFilter(watched, event);
    const int button = static_cast<int>(found - buttons_.begin()) + 1;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            PressButton(button, mouse->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
        break;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            ReleaseButton(button);
        break;
    default: break;
    }
    return false;
}

int SurfaceWindow::ButtonForKey(int key)
{
    // Shift+digit arrives as the symbol above the digit (US layout).
    static const std::array<std::array<int, 2>, SurfaceEncoder::kButtonCount> kKeys = {{
        {Qt::Key_1, Qt::Key_Exclam},
        {Qt::Key_2, Qt::Key_At},
        {Qt::Key_3, Qt::Key_NumberSign},
        {Qt::Key_4, Qt::Key_Dollar},
        {Qt::Key_5, Qt::Key_Percent},
        {Qt::Key_6, Qt::Key_AsciiCircum},
    }};
    for (int i = 0; i < SurfaceEncoder::kButtonCount; ++i)
        if (key == kKeys[i][0] || key == kKeys[i][1])
            return i + 1;
    return 0;
}
