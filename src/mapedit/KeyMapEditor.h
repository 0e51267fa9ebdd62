#pragma once

#include "core/RigType.h"

#include <QHash>
#include <QString>
#include <QWidget>

class IAlerts;
class ISettingsStore;
class KeyMap;
class QLineEdit;
class QPushButton;

// The key map editor of one rig type: one box per map key, filled once from
// the live map when the window opens; "&Save && Exit" applies every box to
// the live map and the settings store, "&Cancel" leaves both untouched. An
// entry longer than a box holds is shown read-only and saved as it was.
class KeyMapEditor : public QWidget {
    Q_OBJECT
public:
    KeyMapEditor(RigType rig, KeyMap& keyMap, ISettingsStore& store, IAlerts& alerts, QWidget* parent = nullptr);

    RigType rig() const { return rig_; }
    // False when the map could not be shown completely; saving is then refused.
    bool CanSave() const { return canSave_; }

    // The buttons "&Save && Exit" and "&Cancel".
    void Save();
    void Cancel();

    // The box of a key suffix ("6441", "km2sldb", ...): its text, whether
    // the user may change it, and typing a new text into it.
    QString EntryText(const QString& suffix) const;
    bool EntryEditable(const QString& suffix) const;
    void TypeEntry(const QString& suffix, const QString& text);

private:
    void BuildControls();
    void SetTabOrder();
    void Load();
    void RefuseSave();
    // What Save stores for the box of `suffix`.
    QString EntryOf(const QString& suffix) const;

    RigType rig_;
    KeyMap& keyMap_;
    ISettingsStore& store_;
    IAlerts& alerts_;
    QHash<QString, QLineEdit*> boxes_;
    // The entries the boxes were filled with, by suffix.
    QHash<QString, QString> loaded_;
    QPushButton* saveButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    bool canSave_ = false;
};
