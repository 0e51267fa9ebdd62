#include "lights/LightsWindow.h"

#include "core/FailureReport.h"
#include "widgets/FormFont.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
using Kind = ControllerControl::Kind;

QSpinBox* NumberBox(QWidget* parent, int lowest, int highest, int base)
{
    auto* box = new QSpinBox(parent);
    box->setRange(lowest, highest);
    box->setDisplayIntegerBase(base);
    return box;
}
} // namespace

LightsWindow::LightsWindow(LightTable& table, const LightTable::Messages& buttonsOwn, IAlerts& alerts,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), table_(table), buttonsOwn_(buttonsOwn), alerts_(alerts)
{
    setObjectName(QStringLiteral("lightsWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Lights"));
    FormFont::Apply(*this);
    BuildControls();
    for (const RadioLight::Info& light : RadioLight::All())
        SetRow(light.id, table_.entries()[std::size_t(light.id)]);
}

void LightsWindow::BuildControls()
{
    auto* grid = new QGridLayout;
    int column = 0;
    for (const char* heading : {"State", "Light", "Channel", "Number (hex)", "On (hex)", "Off (hex)"})
        grid->addWidget(new QLabel(QLatin1String(heading), this), 0, column++);
    for (const RadioLight::Info& light : RadioLight::All()) {
        const int line = int(light.id) + 1;
        const Row row = MakeRow(light);
        auto* caption = new QLabel(light.caption, this);
        caption->setBuddy(row.choice);
        grid->addWidget(caption, line, 0);
        column = 1;
        for (QWidget* cell : std::initializer_list<QWidget*>{row.choice, row.channel, row.number, row.on, row.off})
            grid->addWidget(cell, line, column++);
        rows_[std::size_t(light.id)] = row;
    }
    auto* note = new QLabel(QStringLiteral("A button's own light is the one under the button that switches the "
                                           "state on in the key map of the rig type in use, lit by the message "
                                           "the button sends."),
                            this);
    note->setWordWrap(true);
    auto* save = new QPushButton(QStringLiteral("&Save"), this);
    save->setObjectName(QStringLiteral("saveButton"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setShortcut(Qt::Key_Escape);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(save, &QPushButton::clicked, this, &LightsWindow::Save);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addLayout(buttons);
}

LightsWindow::Row LightsWindow::MakeRow(const RadioLight::Info& light)
{
    Row row{new QComboBox(this), NumberBox(this, 1, 16, 10), NumberBox(this, 0, 0x7F, 16),
            NumberBox(this, 0, 0x7F, 16), NumberBox(this, 0, 0x7F, 16)};
    const std::optional<LightMessage>& own = buttonsOwn_[std::size_t(light.id)];
    row.choice->setObjectName(light.key + QStringLiteral("Choice"));
    row.choice->addItem(QStringLiteral("Button's own: %1").arg(own ? own->control.Text() : QStringLiteral("none")));
    row.choice->addItem(QStringLiteral("No light"));
    row.choice->addItem(QStringLiteral("Note"));
    row.choice->addItem(QStringLiteral("Control change"));
    connect(row.choice, &QComboBox::currentIndexChanged, this, [this, id = light.id] { ChoiceChanged(id); });
    return row;
}

void LightsWindow::SetRow(RadioLight::Id light, const LightTable::Entry& entry)
{
    Row& row = rows_[std::size_t(light)];
    const bool note = entry.message.control.kind == Kind::Note;
    const int item = entry.choice == LightTable::Choice::ButtonsOwn ? ButtonsOwnItem
                     : entry.choice == LightTable::Choice::NoLight  ? NoLightItem
                     : note                                         ? NoteItem
                                                                    : ControlChangeItem;
    ShowMessage(row, entry.message);
    row.choice->setCurrentIndex(item);
    ChoiceChanged(light);
}

void LightsWindow::ShowMessage(Row& row, const LightMessage& message)
{
    row.channel->setValue(message.control.channel + 1);
    row.number->setValue(message.control.number);
    row.on->setValue(message.on);
    row.off->setValue(message.off);
}

void LightsWindow::ChoiceChanged(RadioLight::Id light)
{
    Row& row = rows_[std::size_t(light)];
    const int item = row.choice->currentIndex();
    if (item == ButtonsOwnItem) {
        if (const std::optional<LightMessage>& own = buttonsOwn_[std::size_t(light)])
            ShowMessage(row, *own);
    }
    for (QSpinBox* box : {row.channel, row.number, row.on, row.off})
        box->setEnabled(item == NoteItem || item == ControlChangeItem);
}

LightTable::Entries LightsWindow::Entries() const
{
    LightTable::Entries entries{};
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        const int item = row.choice->currentIndex();
        if (item == NoLightItem) {
            entries[i].choice = LightTable::Choice::NoLight;
        } else if (item != ButtonsOwnItem) {
            const ControllerControl control{item == NoteItem ? Kind::Note : Kind::ControlChange,
                                            row.channel->value() - 1, std::uint8_t(row.number->value())};
            entries[i] = {LightTable::Choice::Message,
                          {control, std::uint8_t(row.on->value()), std::uint8_t(row.off->value())}};
        }
    }
    return entries;
}

void LightsWindow::Save()
{
    if (ReportFailures(alerts_, Routine::SaveLights, [this] { table_.Store(Entries()); })) {
        emit saved();
        close();
    }
}
