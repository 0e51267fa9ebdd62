#pragma once

#include "mapedit/frmMap_Midi.h"

#include <QPointer>
#include <QString>

class IAlerts;
class ISettingsStore;
class KeyMap;
class QWidget;

// Keeps at most one key map editor per rig type open. The main window holds
// one of these and hands it to the MIDI setup window.
class MapEditors {
public:
    // `parent` (normally the main window) owns the editors it opens.
    MapEditors(KeyMap& keyMap, ISettingsStore& store, IAlerts& alerts, QWidget* parent = nullptr);
    ~MapEditors();
    MapEditors(const MapEditors&) = delete;
    MapEditors& operator=(const MapEditors&) = delete;

    // Opens the editor of rig type "elecraft" or "flex" modeless, or brings
    // the one already open to the front without reloading its boxes. Any
    // other rig type opens nothing and gives nullptr.
    frmMap_Midi* Show(const QString& rigtype);
    // The open editor of a rig type, or nullptr.
    frmMap_Midi* Editor(frmMap_Midi::Rig rig) const;
    // Closes every open editor without saving (program shutdown).
    void CloseAll();

private:
    QPointer<frmMap_Midi>& SlotOf(frmMap_Midi::Rig rig);

    KeyMap& keyMap_;
    ISettingsStore& store_;
    IAlerts& alerts_;
    QWidget* parent_;
    QPointer<frmMap_Midi> elecraft_;
    QPointer<frmMap_Midi> flex_;
};
