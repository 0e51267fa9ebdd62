#include "midi/LearnControlsDialog.h"

#include "core/IAlerts.h"
#include "core/FailureReport.h"
#include "midi/LearnedControls.h"
#include "midi/MidiInput.h"
#include "widgets/FormFont.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
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
    skipButton_ = new QPushButton(QStringLiteral("&Skip"), this);
    skipButton_->setObjectName(QStringLiteral("skipButton"));
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(skipButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->addWidget(stepLabel_);
    layout->addWidget(promptLabel_);
    layout->addWidget(heardLabel_);
    layout->addStretch();
    layout->addLayout(buttons);
    // Wide enough for the longest prompt on one line.
    setMinimumWidth(QFontMetrics(bigger).horizontalAdvance(
                        QStringLiteral("Press the button to use as Button 6 Long Press"))
                    + 60);

    connect(skipButton_, &QPushButton::clicked, this, &LearnControlsDialog::Skip);
    connect(cancelButton_, &QPushButton::clicked, this, &LearnControlsDialog::Cancel);
}

void LearnControlsDialog::Hear(const MidiEvent& message)
{
    if (walk_.Hear(message) == LearnWalk::Heard::Ignored)
        return;
    heardLabel_->setText(walk_.LastHeard());
    ShowStep();
}

void LearnControlsDialog::Skip()
{
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
