#include "mapedit/KeyMapEditors.h"

KeyMapEditors::KeyMapEditors(KeyMap& keyMap, ISettingsStore& store, IAlerts& alerts, QWidget* parent)
    : keyMap_(keyMap), store_(store), alerts_(alerts), parent_(parent)
{
}

KeyMapEditors::~KeyMapEditors()
{
    CloseAll();
}

KeyMapEditor* KeyMapEditors::Show(RigType rig)
{
    QPointer<KeyMapEditor>& editor = open_[rig];
    if (!editor) {
        editor = new KeyMapEditor(rig, keyMap_, store_, alerts_, parent_);
        editor->setAttribute(Qt::WA_DeleteOnClose);
    }
    editor->show();
    editor->raise();
    editor->activateWindow();
    return editor;
}

void KeyMapEditors::CloseAll()
{
    // Deleted at once rather than closed: close() would only schedule the
    // deletion, and at shutdown no event loop runs again to carry it out.
    for (auto& [rig, editor] : open_)
        delete editor.data();
}
