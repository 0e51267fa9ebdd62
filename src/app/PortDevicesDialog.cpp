#include "app/PortDevicesDialog.h"

#include "core/IAlerts.h"
#include "core/ISettingsStore.h"
#include "core/FailureReport.h"
#include "cat/PortAddress.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

PortDevicesDialog::PortDevicesDialog(ISettingsStore& store, IAlerts& alerts,
                                     const QStringList& systemPorts, QWidget* parent)
    : QDialog(parent), store_(store), alerts_(alerts)
{
    setWindowTitle(QStringLiteral("CAT Port Devices"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Choose the serial device each COM number opens, or type any path,\n"
                       "or tcp://host:port for a radio on the network."), this));
    auto* form = new QFormLayout;
    for (int n = 1; n <= kPorts; ++n) {
        auto* box = new QComboBox(this);
        box->setObjectName(PortAddress::KeyFor(n));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        box->addItems(systemPorts);
        // A stored device the system does not list stays a choice, and every
        // path the box offers is shown whole.
        const QString device = PortAddress::For(store_, n);
        if (box->findText(device) < 0)
            box->addItem(device);
        box->setCurrentText(device);
        box->setMinimumWidth(std::max(260, box->sizeHint().width()));
        connect(box, &QComboBox::activated, this,
                [this, n, box] { StoreChoice(n, box->currentText()); });
        connect(box->lineEdit(), &QLineEdit::editingFinished, this,
                [this, n, box] { StoreChoice(n, box->currentText()); });
        form->addRow(QStringLiteral("COM%1").arg(n), box);
        boxes_.append(box);
    }
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString PortDevicesDialog::ShownDevice(int number) const
{
    return boxes_.value(number - 1)->currentText();
}

void PortDevicesDialog::Choose(int number, const QString& device)
{
    boxes_.value(number - 1)->setCurrentText(device);
    StoreChoice(number, device);
}

void PortDevicesDialog::StoreChoice(int number, const QString& device)
{
    const QString path = device.trimmed();
    if (path.isEmpty() || path == PortAddress::For(store_, number))
        return;
    ReportFailures(alerts_, Routine::StoreComDevice,
               [&] { store_.Write(PortAddress::Section(), PortAddress::KeyFor(number), path); });
}
