#pragma once

#include "hamlib/HamlibConfig.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
struct HamlibModel;

// "Other Radio (Hamlib)": the radio models Hamlib knows, narrowed by a filter
// as the user types (maker, model or number), the port (a serial device, or
// host:port for a network model) and the serial speed. OK stays disabled
// until a model is chosen and, where the model needs one, a port given.
// UI thread only.
class HamlibModelDialog : public QDialog {
    Q_OBJECT
public:
    // `serialPorts`: the serial devices to offer (their system locations);
    // `current`: the radio chosen before, shown chosen (model 0: none).
    HamlibModelDialog(const QStringList& serialPorts, const HamlibConfig& current, QWidget* parent = nullptr);

    // The radio chosen: what OK stands for. Model 0 while none is chosen;
    // speed 0 for a model without a serial port.
    HamlibConfig config() const;
    // Chooses the model numbered `number` as a click on its row would, first
    // clearing a filter that hides it; false when Hamlib knows no such model.
    bool ChooseModel(int number);
    void SetPort(const QString& port);

private:
    void BuildControls();
    void FillModels();
    void TakeCurrentRow();
    void OfferPorts(const HamlibModel& model);
    void OfferSpeeds(const HamlibModel& model);
    void UpdateOk();

    QStringList serialPorts_;
    const HamlibModel* chosen_ = nullptr;
    QLineEdit* filter_;
    QStandardItemModel* models_;
    QSortFilterProxyModel* shown_;
    QTableView* table_;
    QComboBox* port_;
    QComboBox* speed_;
    QDialogButtonBox* buttons_;
};
