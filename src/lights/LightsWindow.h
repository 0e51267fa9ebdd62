#pragma once

#include "lights/LightTable.h"

#include <QWidget>

#include <array>

class IAlerts;
class QComboBox;
class QSpinBox;

// "Lights": for each state of the radio that can light, which message lights
// it: the button's own (shown as the key map and the learned controls make
// it), no light, or a note or control change of the user's with its channel,
// number and on and off values. "&Save" stores the table and closes;
// "Cancel" closes. It deletes itself when closed. UI thread only.
class LightsWindow : public QWidget {
    Q_OBJECT
public:
    // `buttonsOwn`: each state's button's own light as it is now.
    LightsWindow(LightTable& table, const LightTable::Messages& buttonsOwn, IAlerts& alerts, QWidget* parent = nullptr);

    void Save();
    // The table as the window shows it.
    LightTable::Entries Entries() const;
    // For tests: sets the row of `light` as a user would.
    void SetRow(RadioLight::Id light, const LightTable::Entry& entry);

signals:
    // The table has been stored.
    void saved();

private:
    struct Row {
        QComboBox* choice;
        QSpinBox* channel;
        QSpinBox* number;
        QSpinBox* on;
        QSpinBox* off;
    };
    enum ChoiceItem { ButtonsOwnItem, NoLightItem, NoteItem, ControlChangeItem };

    void BuildControls();
    Row MakeRow(const RadioLight::Info& light);
    void ShowMessage(Row& row, const LightMessage& message);
    // Shows the row's message for its choice; only a message of the user's is editable.
    void ChoiceChanged(RadioLight::Id light);

    LightTable& table_;
    LightTable::Messages buttonsOwn_;
    IAlerts& alerts_;
    std::array<Row, RadioLight::kCount> rows_{};
};
