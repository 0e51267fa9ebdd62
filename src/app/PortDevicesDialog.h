#pragma once

#include <QDialog>
#include <QStringList>

class IAlerts;
class ISettingsStore;
class QComboBox;

// Linux has no COM numbers: this dialog shows COM1 to COM16 with the device
// (or tcp:// address) each one stands for (section "ports") and stores a new
// choice at once.
class PortDevicesDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPorts = 16;

    PortDevicesDialog(ISettingsStore& store, IAlerts& alerts, const QStringList& systemPorts,
                      QWidget* parent = nullptr);


    // The device COM `number` shows; choosing or typing one, as the user does.
    QString ShownDevice(int number) const;
    void Choose(int number, const QString& device);

private:
    void StoreChoice(int number, const QString& device);

    ISettingsStore& store_;
    IAlerts& alerts_;
    QList<QComboBox*> boxes_;
};
