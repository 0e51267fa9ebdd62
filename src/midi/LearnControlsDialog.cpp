#include "midi/LearnControlsDialog.h"

#include "core/IAlerts.h"
#include "core/FailureReport.h"
#include "midi/LearnedControls.h"
#include "midi/MidiInput.h"
#include "widgets/FormFont.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

LearnControlsDialog::LearnControlsDialog(MidiInput& midi, LearnedControls& learned, IAlerts& alerts,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window), midi_(midi), learned_(learned), alerts_(alerts)
{
    setObjectName(QStringLiteral("learnControlsDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QStringLiteral("Learn Controls"));
    FormFont::Apply(*this);
    BuildControls();
    ShowStep();
    midi_.SetCapture([this](const MidiEvent& message) { Hear(message); });
}

LearnControlsDialog::~LearnControlsDialog()
{
    midi_.ClearCapture();
}

void LearnControlsDialog::BuildControls()
{
    stepLabel_ = new QLabel(this);
    stepLabel_->setObjectName(QStringLiteral("stepLabel"));
    promptLabel_ = new QLabel(this);
    promptLabel_->setObjectName(QStringLiteral("promptLabel"));
    QFont bigger = promptLabel_->font();
    bigger.setBold(true);
    bigger.setPointSizeF(bigger.pointSizeF() * 1.25);
    promptLabel_->setFont(bigger);
    promptLabel_->setWordWrap(true);
    heardLabel_ = new QLabel(QStringLiteral("Nothing heard yet."), this);
    heardLabel_->setObjectName(QStringLiteral("heardLabel"));
    heardLabel_->setWordWrap(true);
    encodingLabel_ = new QLabel(this);
    encodingBox_ = new QComboBox(this);
    encodingBox_->setObjectName(QStringLiteral("encodingBox"));
    for (const WheelEncoding encoding : WheelEncodings::All())
        encodingBox_->addItem(WheelEncodings::Name(encoding), int(encoding));
    encodingLabel_->setBuddy(encodingBox_);
    encodingLabel_->hide();
    encodingBox_->hide();
    turnPause_ = new QTimer(this);
    turnPause_->setSingleShot(true);
    turnPause_->setInterval(kTurnPauseMs);
    skipButton_ = new QPushButton(QStringLiteral("&Skip"), this);
    skipButton_->setObjectName(QStringLiteral("skipButton"));
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setShortcut(Qt::Key_Escape);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(skipButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->addWidget(stepLabel_);
    layout->addWidget(promptLabel_);
    layout->addWidget(heardLabel_);
    auto* encoding = new QHBoxLayout;
    encoding->addWidget(encodingLabel_);
    encoding->addWidget(encodingBox_);
    encoding->addStretch();
    layout->addLayout(encoding);
    layout->addStretch();
    layout->addLayout(buttons);
    // Wide enough for the longest prompt on one line.
    setMinimumWidth(QFontMetrics(bigger).horizontalAdvance(
                        QStringLiteral("Turn the control to use as Wheel A (mode 1) clockwise a few clicks, then stop"))
                    + 60);

    connect(skipButton_, &QPushButton::clicked, this, &LearnControlsDialog::Skip);
    connect(cancelButton_, &QPushButton::clicked, this, &LearnControlsDialog::Cancel);
    connect(turnPause_, &QTimer::timeout, this, [this] { Show(walk_.Pause()); });
    connect(encodingBox_, &QComboBox::activated, this,
            [this](int index) { ChooseEncoding(WheelEncoding(encodingBox_->itemData(index).toInt())); });
}

void LearnControlsDialog::Hear(const MidiEvent& message)
{
    Show(walk_.Hear(message));
}

void LearnControlsDialog::Show(LearnWalk::Heard heard)
{
    if (heard == LearnWalk::Heard::Ignored)
        return;
    if (heard == LearnWalk::Heard::Turning)
        turnPause_->start();
    heardLabel_->setText(walk_.LastHeard());
    if (const std::optional<int> wheel = walk_.LastWheel()) {
        encodingLabel_->setText(QStringLiteral("Encoding of %1:").arg(SurfaceControls::All()[*wheel].name));
        encodingBox_->setCurrentIndex(encodingBox_->findData(int(walk_.Result()[*wheel]->encoding)));
        encodingLabel_->show();
        encodingBox_->show();
    }
    ShowStep();
}

void LearnControlsDialog::ChooseEncoding(WheelEncoding encoding)
{
    if (const std::optional<int> wheel = walk_.LastWheel()) {
        walk_.SetEncoding(*wheel, encoding);
        encodingBox_->setCurrentIndex(encodingBox_->findData(int(encoding)));
        // Once stored, a change is stored too.
        if (walk_.Finished())
            Finish();
    }
}

void LearnControlsDialog::Skip()
{
    turnPause_->stop();
    walk_.Skip();
    heardLabel_->setText(QStringLiteral("Skipped: the surface's own number stays."));
    ShowStep();
}

void LearnControlsDialog::Cancel()
{
    close();
}

void LearnControlsDialog::ShowStep()
{
    if (walk_.Finished()) {
        Finish();
        return;
    }
    stepLabel_->setText(QStringLiteral("Control %1 of %2").arg(walk_.Step() + 1).arg(SurfaceControls::kCount));
    promptLabel_->setText(walk_.Prompt());
    // What it heard may take more lines than the window has.
    adjustSize();
}

void LearnControlsDialog::Finish()
{
    midi_.ClearCapture();
    skipButton_->setEnabled(false);
    cancelButton_->setText(QStringLiteral("&Close"));
    stepLabel_->setText(QStringLiteral("Done"));
    const bool stored = ReportFailures(alerts_, Routine::StoreLearnedControls,
                                   [this] { learned_.Store(walk_.Result()); });
    promptLabel_->setText(
        QStringLiteral("%1 of %2 controls learned%3.")
            .arg(walk_.LearnedCount())
            .arg(SurfaceControls::kCount)
            .arg(stored ? QStringLiteral(" and stored") : QStringLiteral("; they could not be stored")));
}

void LearnControlsDialog::closeEvent(QCloseEvent* event)
{
    // The device's messages go back to the radio at once, not when this window is deleted.
    midi_.ClearCapture();
    QWidget::closeEvent(event);
}

QString LearnControlsDialog::PromptText() const
{
    return promptLabel_->text();
}

QString LearnControlsDialog::HeardText() const
{
    return heardLabel_->text();
}

QString LearnControlsDialog::EncodingText() const
{
    return encodingBox_->isHidden() ? QString() : encodingBox_->currentText();
}
