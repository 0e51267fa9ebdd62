#include "midi/frmLearnControls.h"

#include "core/IAlerts.h"
#include "core/RuntimeError.h"
#include "midi/LearnedControls.h"
#include "midi/MidiInput.h"
#include "widgets/FormFont.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmLearnControls::frmLearnControls(MidiInput& midi, LearnedControls& learned, IAlerts& alerts,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window), midi_(midi), learned_(learned), alerts_(alerts)
{
    setObjectName(QStringLiteral("frmLearnControls"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QStringLiteral("Learn Controls"));
    FormFont::Apply(*this);
    BuildControls();
    ShowStep();
    midi_.SetCapture([this](const MidiEvent& message) { Hear(message); });
}

frmLearnControls::~frmLearnControls()
{
    midi_.ClearCapture();
}

void frmLearnControls::BuildControls()
{
    lblStep = new QLabel(this);
    lblStep->setObjectName(QStringLiteral("lblStep"));
    lblPrompt = new QLabel(this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    QFont bigger = lblPrompt->font();
    bigger.setBold(true);
    bigger.setPointSizeF(bigger.pointSizeF() * 1.25);
    lblPrompt->setFont(bigger);
    lblPrompt->setWordWrap(true);
    lblHeard = new QLabel(QStringLiteral("Nothing heard yet."), this);
    lblHeard->setObjectName(QStringLiteral("lblHeard"));
    lblHeard->setWordWrap(true);
    cmdSkip = new QPushButton(QStringLiteral("&Skip"), this);
    cmdSkip->setObjectName(QStringLiteral("cmdSkip"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSkip);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->addWidget(lblStep);
    layout->addWidget(lblPrompt);
    layout->addWidget(lblHeard);
    layout->addStretch();
    layout->addLayout(buttons);
    // Wide enough for the longest prompt on one line.
    setMinimumWidth(QFontMetrics(bigger).horizontalAdvance(
                        QStringLiteral("Press the button to use as Button 6 Long Press"))
                    + 60);

    connect(cmdSkip, &QPushButton::clicked, this, &frmLearnControls::cmdSkip_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLearnControls::cmdCancel_Click);
}

void frmLearnControls::Hear(const MidiEvent& message)
{
    if (walk_.Hear(message) == LearnWalk::Heard::Ignored)
        return;
    lblHeard->setText(walk_.LastHeard());
    ShowStep();
}

void frmLearnControls::cmdSkip_Click()
{
    walk_.Skip();
    lblHeard->setText(QStringLiteral("Skipped: the surface's own number stays."));
    ShowStep();
}

void frmLearnControls::cmdCancel_Click()
{
    close();
}

void frmLearnControls::ShowStep()
{
    if (walk_.Finished()) {
        Finish();
        return;
    }
    lblStep->setText(QStringLiteral("Control %1 of %2").arg(walk_.Step() + 1).arg(LearnedControls::kCount));
    lblPrompt->setText(walk_.Prompt());
}

void frmLearnControls::Finish()
{
    midi_.ClearCapture();
    cmdSkip->setEnabled(false);
    cmdCancel->setText(QStringLiteral("&Close"));
    lblStep->setText(QStringLiteral("Done"));
    const bool stored = RunGuarded(alerts_, QStringLiteral("frmLearnControls_store"),
                                   [this] { learned_.Store(walk_.Result()); });
    lblPrompt->setText(
        QStringLiteral("%1 of %2 controls learned%3.")
            .arg(walk_.LearnedCount())
            .arg(LearnedControls::kCount)
            .arg(stored ? QStringLiteral(" and stored") : QStringLiteral("; they could not be stored")));
}

void frmLearnControls::closeEvent(QCloseEvent* event)
{
    // The device's messages go back to the radio at once, not when this window is deleted.
    midi_.ClearCapture();
    QWidget::closeEvent(event);
}
