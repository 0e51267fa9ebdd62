#pragma once

#include "core/RigType.h"
#include "mapedit/KeyMapEditor.h"

#include <QPointer>

#include <map>

class IAlerts;
class ISettingsStore;
class KeyMap;
class QWidget;

// Keeps at most one key map editor per rig type open. The main window holds
// one of these and hands it to the MIDI setup window.
class KeyMapEditors {
public:
    // `parent` (normally the main window) owns the editors it opens.
    KeyMapEditors(KeyMap& keyMap, ISettingsStore& store, IAlerts& alerts, QWidget* parent = nullptr);
    ~KeyMapEditors();
    KeyMapEditors(const KeyMapEditors&) = delete;
    KeyMapEditors& operator=(const KeyMapEditors&) = delete;

    // Opens the editor of `rig` modeless, or brings the one already open to
    // the front without reloading its boxes.
    KeyMapEditor* Show(RigType rig);
    // Closes every open editor without saving (program shutdown).
    void CloseAll();

private:
    KeyMap& keyMap_;
    ISettingsStore& store_;
    IAlerts& alerts_;
    QWidget* parent_;
    std::map<RigType, QPointer<KeyMapEditor>> open_;
};
