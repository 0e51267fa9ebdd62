#pragma once

#include <QHash>
#include <QString>
#include <QWidget>

class IAlerts;
class ISettingsStore;
class KeyMap;
class QLabel;
class QLineEdit;
class QPushButton;

// The key map editor of one rig type: one box per map key, filled once from
// the live map when the window opens; "&Save && Exit" applies every box to
// the live map and the settings store, "&Cancel" leaves both untouched. An
// entry longer than a box holds is shown read-only and saved as it was.
// The window's object name is frmMap_Midi_Elecraft or frmMap_Midi_Flex.
class frmMap_Midi : public QWidget {
    Q_OBJECT
public:
    enum class Rig { Elecraft, Flex };

    frmMap_Midi(Rig rig, KeyMap& keyMap, ISettingsStore& store, IAlerts& alerts,
                QWidget* parent = nullptr);

    Rig rig() const { return rig_; }
    // The box of a key suffix ("6441", "km2sldb", ...).
    QLineEdit* BoxOf(const QString& suffix) const { return boxes_.value(suffix); }
    // False when the map could not be shown completely; saving is then refused.
    bool CanSave() const { return canSave_; }

public slots:
    void cmdSave_Click();
    void cmdExit_Click();

private:
    void BuildControls();
    void SetTabOrder();
    void Form_Load();
    void RefuseSave();
    QString RigPrefix() const;
    QString RoutineName(const QString& handler) const;
    // What Save stores for the box of `suffix`.
    QString EntryOf(const QString& suffix) const;

    Rig rig_;
    KeyMap& keyMap_;
    ISettingsStore& store_;
    IAlerts& alerts_;
    QHash<QString, QLineEdit*> boxes_;
    // The entries the boxes were filled with, by suffix.
    QHash<QString, QString> loaded_;
    QLabel* Label1 = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdExit = nullptr;
    bool canSave_ = false;
};
