#include "hamlib/HamlibModelDialog.h"

#include "hamlib/HamlibModels.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {
// The text a filter is matched against: maker, model and number together.
constexpr int kSearchRole = Qt::UserRole + 1;
constexpr int kNumberRole = Qt::UserRole + 2;
enum Column { kMaker, kModel, kStatus, kNumber };

QList<QStandardItem*> RowOf(const HamlibModel& model)
{
    auto* number = new QStandardItem;
    number->setData(model.number, Qt::DisplayRole);
    QList<QStandardItem*> row{new QStandardItem(model.maker), new QStandardItem(model.name),
                              new QStandardItem(model.status), number};
    row[kMaker]->setData(QStringLiteral("%1 %2 %3").arg(model.maker, model.name).arg(model.number), kSearchRole);
    row[kMaker]->setData(model.number, kNumberRole);
    return row;
}
}

HamlibModelDialog::HamlibModelDialog(const QStringList& serialPorts, const HamlibConfig& current, QWidget* parent)
    : QDialog(parent), serialPorts_(serialPorts)
{
    setWindowTitle(tr("Other Radio (Hamlib)"));
    BuildControls();
    FillModels();
    if (ChooseModel(current.model) && !current.port.isEmpty())
        SetPort(current.port);
    const int speed = speed_->findData(current.speed);
    if (speed >= 0)
        speed_->setCurrentIndex(speed);
    UpdateOk();
}

void HamlibModelDialog::BuildControls()
{
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setPlaceholderText(tr("Maker, model or number"));
    filter_->setClearButtonEnabled(true);
    models_ = new QStandardItemModel(0, 4, this);
    models_->setHorizontalHeaderLabels({tr("Maker"), tr("Model"), tr("Status"), tr("No.")});
    shown_ = new QSortFilterProxyModel(this);
    shown_->setSourceModel(models_);
    shown_->setFilterRole(kSearchRole);
    shown_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    table_ = new QTableView(this);
    table_->setModel(shown_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSortingEnabled(true);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(kModel, QHeaderView::Stretch);
    port_ = new QComboBox(this);
    port_->setObjectName(QStringLiteral("port"));
    port_->setEditable(true);
    speed_ = new QComboBox(this);
    speed_->setObjectName(QStringLiteral("speed"));
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* form = new QFormLayout;
    form->addRow(tr("&Port:"), port_);
    form->addRow(tr("&Speed (Bd):"), speed_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addWidget(table_);
    layout->addLayout(form);
    layout->addWidget(buttons_);
    resize(640, 480);

    connect(filter_, &QLineEdit::textChanged, shown_, &QSortFilterProxyModel::setFilterFixedString);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &HamlibModelDialog::TakeCurrentRow);
    connect(table_, &QTableView::doubleClicked, this, [this] { buttons_->button(QDialogButtonBox::Ok)->click(); });
    connect(port_, &QComboBox::currentTextChanged, this, &HamlibModelDialog::UpdateOk);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void HamlibModelDialog::FillModels()
{
    for (const HamlibModel& model : HamlibModels::Instance().all())
        models_->appendRow(RowOf(model));
    table_->sortByColumn(kMaker, Qt::AscendingOrder);
    table_->resizeColumnsToContents();
}

HamlibConfig HamlibModelDialog::config() const
{
    if (!chosen_)
        return {};
    return {chosen_->number, port_->currentText().trimmed(), speed_->currentData().toInt()};
}

bool HamlibModelDialog::ChooseModel(int number)
{
    const QModelIndexList found = models_->match(models_->index(0, kMaker), kNumberRole, number, 1, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    if (!shown_->mapFromSource(found[0]).isValid())
        filter_->clear();
    table_->setCurrentIndex(shown_->mapFromSource(found[0]));
    table_->scrollTo(table_->currentIndex());
    return true;
}

void HamlibModelDialog::SetPort(const QString& port)
{
    port_->setEditText(port);
}

// A row that the filter hides keeps its model chosen.
void HamlibModelDialog::TakeCurrentRow()
{
    const QModelIndex row = table_->currentIndex().siblingAtColumn(kMaker);
    const HamlibModel* model = row.isValid() ? HamlibModels::Instance().Find(row.data(kNumberRole).toInt()) : nullptr;
    if (!model || model == chosen_)
        return;
    const auto serial = [](const HamlibModel* m) { return m && m->portKind == HamlibPortKind::Serial; };
    const bool keepPort = serial(chosen_) && serial(model);
    chosen_ = model;
    if (!keepPort)
        OfferPorts(*model);
    OfferSpeeds(*model);
    UpdateOk();
}

// The serial devices, the first suggested, or the port Hamlib uses by
// default for the model. (A serial port typed stays for the next serial model.)
void HamlibModelDialog::OfferPorts(const HamlibModel& model)
{
    port_->clear();
    if (model.portKind == HamlibPortKind::Serial)
        port_->addItems(serialPorts_);
    else if (!model.defaultPort.isEmpty())
        port_->addItem(model.defaultPort);
    port_->setCurrentIndex(port_->count() > 0 ? 0 : -1);
}

void HamlibModelDialog::OfferSpeeds(const HamlibModel& model)
{
    speed_->clear();
    QList<int> speeds = model.speeds;
    std::sort(speeds.begin(), speeds.end(), std::greater<int>());
    speeds.removeOne(model.defaultSpeed);
    if (model.defaultSpeed > 0)
        speeds.prepend(model.defaultSpeed);
    for (const int speed : speeds)
        speed_->addItem(QString::number(speed), speed);
    speed_->setEnabled(model.portKind == HamlibPortKind::Serial);
}

void HamlibModelDialog::UpdateOk()
{
    const bool needsPort = chosen_ && chosen_->portKind != HamlibPortKind::Other;
    const bool ready = chosen_ && !(needsPort && port_->currentText().trimmed().isEmpty());
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(ready);
}
