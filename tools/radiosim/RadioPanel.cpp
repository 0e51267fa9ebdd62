#include "RadioPanel.h"

#include "RadioDisplayText.h"
#include "RadioModel.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

RadioPanel::RadioPanel(const RadioModel& radio, const QString& linePath, QWidget* parent)
    : QWidget(parent), radio_(radio)
{
    setWindowTitle(QStringLiteral("Radio Simulator"));
    auto* layout = new QVBoxLayout(this);

    auto* line = new QLabel(QStringLiteral("CAT line: %1").arg(linePath), this);
    line->setObjectName(QStringLiteral("line"));
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(line);

    auto* form = new QFormLayout;
    layout->addLayout(form);
    vfoA_ = AddValue(form, QStringLiteral("VFO A"), QStringLiteral("vfoA"));
    vfoB_ = AddValue(form, QStringLiteral("VFO B"), QStringLiteral("vfoB"));
    mode_ = AddValue(form, QStringLiteral("Mode"), QStringLiteral("mode"));
    rit_ = AddValue(form, QStringLiteral("RIT"), QStringLiteral("rit"));
    xit_ = AddValue(form, QStringLiteral("XIT"), QStringLiteral("xit"));
    transmit_ = AddValue(form, QStringLiteral("Transmit"), QStringLiteral("transmit"));
    split_ = AddValue(form, QStringLiteral("Split"), QStringLiteral("split"));
    power_ = AddValue(form, QStringLiteral("Power"), QStringLiteral("power"));
    keyerSpeed_ = AddValue(form, QStringLiteral("CW speed"), QStringLiteral("keyerSpeed"));
    QFont big = vfoA_->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    vfoA_->setFont(big);

    layout->addWidget(new QLabel(QStringLiteral("Last commands received (newest on top):"), this));
    lastCommands_ = new QListWidget(this);
    lastCommands_->setObjectName(QStringLiteral("lastCommands"));
    lastCommands_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lastCommands_->setSelectionMode(QAbstractItemView::NoSelection);
    lastCommands_->setFocusPolicy(Qt::NoFocus);
    lastCommands_->setMinimumHeight(lastCommands_->fontMetrics().lineSpacing() * kShownCommands
                                    + 2 * lastCommands_->frameWidth() + 4);
    layout->addWidget(lastCommands_, 1);

    for (const QByteArray& command : radio_.lastCommands())
        ShowCommand(command);
    ShowState();
    connect(&radio_, &RadioModel::stateChanged, this, &RadioPanel::ShowState);
    connect(&radio_, &RadioModel::commandReceived, this, &RadioPanel::ShowCommand);
}

QLabel* RadioPanel::AddValue(QFormLayout* form, const QString& caption, const QString& name)
{
    auto* value = new QLabel(this);
    value->setObjectName(name);
    form->addRow(caption, value);
    return value;
}

void RadioPanel::ShowState()
{
    vfoA_->setText(RadioDisplayText::Megahertz(radio_.vfoA()) + QStringLiteral(" MHz"));
    vfoB_->setText(RadioDisplayText::Megahertz(radio_.vfoB()) + QStringLiteral(" MHz"));
    mode_->setText(RadioDisplayText::Mode(radio_.mode()));
    rit_->setText(RadioDisplayText::OnOff(radio_.rit()));
    xit_->setText(RadioDisplayText::OnOff(radio_.xit()));
    transmit_->setText(RadioDisplayText::OnOff(radio_.transmitting()));
    split_->setText(RadioDisplayText::OnOff(radio_.split()));
    power_->setText(QStringLiteral("%1 W").arg(radio_.power()));
    keyerSpeed_->setText(QStringLiteral("%1 WPM").arg(radio_.keyerSpeed()));
}

void RadioPanel::ShowCommand(const QByteArray& command)
{
    lastCommands_->insertItem(0, RadioDisplayText::Command(command));
    while (lastCommands_->count() > kShownCommands)
        delete lastCommands_->takeItem(lastCommands_->count() - 1);
}
