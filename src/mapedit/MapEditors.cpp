#include "mapedit/MapEditors.h"

MapEditors::MapEditors(KeyMap& keyMap, ISettingsStore& store, IAlerts& alerts, QWidget* parent)
    : keyMap_(keyMap), store_(store), alerts_(alerts), parent_(parent)
{
}

MapEditors::~MapEditors()
{
    CloseAll();
}

frmMap_Midi* MapEditors::Show(const QString& rigtype)
{
    frmMap_Midi::Rig rig;
    if (rigtype == QLatin1String("elecraft"))
        rig = frmMap_Midi::Rig::Elecraft;
    else if (rigtype == QLatin1String("flex"))
        rig = frmMap_Midi::Rig::Flex;
    else
        return nullptr;

    QPointer<frmMap_Midi>& editor = SlotOf(rig);
    if (!editor) {
        editor = new frmMap_Midi(rig, keyMap_, store_, alerts_, parent_);
        editor->setAttribute(Qt::WA_DeleteOnClose);
    }
    editor->show();
    editor->raise();
    editor->activateWindow();
    return editor;
}

frmMap_Midi* MapEditors::Editor(frmMap_Midi::Rig rig) const
{
    return rig == frmMap_Midi::Rig::Elecraft ? elecraft_.data() : flex_.data();
}

void MapEditors::CloseAll()
{
    // Deleted at once rather than closed: close() would only schedule the
    // deletion, and at shutdown no event loop runs again to carry it out.
    for (QPointer<frmMap_Midi>* editor : {&elecraft_, &flex_})
        delete editor->data();
}

QPointer<frmMap_Midi>& MapEditors::SlotOf(frmMap_Midi::Rig rig)
{
    return rig == frmMap_Midi::Rig::Elecraft ? elecraft_ : flex_;
}
