#include "mapedit/frmMap_Midi.h"

#include "core/IAlerts.h"
#include "core/ISettingsStore.h"
#include "core/KeyMap.h"
#include "core/RuntimeError.h"
#include "core/VbError.h"
#include "mapedit/MapEditorLayout.h"
#include "widgets/CaptionFit.h"
#include "widgets/FormFont.h"
#include "widgets/Twips.h"
#include "widgets/WrappingButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString LabelOf(const QString& suffix)
{
    for (const KeyMap::KeyDef& def : KeyMap::Suffixes()) {
        if (def.suffix == suffix)
            return def.label;
    }
    return QString();
}

QRect ToPixels(const QRect& twips)
{
    return Twips::Rect(twips.left(), twips.top(), twips.width(), twips.height());
}

} // namespace

frmMap_Midi::frmMap_Midi(Rig rig, KeyMap& keyMap, ISettingsStore& store, IAlerts& alerts,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), rig_(rig), keyMap_(keyMap), store_(store), alerts_(alerts)
{
    setObjectName(rig == Rig::Elecraft ? QStringLiteral("frmMap_Midi_Elecraft")
                                       : QStringLiteral("frmMap_Midi_Flex"));
    setWindowTitle(QStringLiteral("MIDI Mapping"));
    setFixedSize(ToPixels(MapEditorLayout::ClientRect()).size());
    FormFont::Apply(*this);
    BuildControls();
    CaptionFit::Apply(*this);
    SetTabOrder();
    Form_Load();
}

void frmMap_Midi::BuildControls()
{
    for (const MapEditorLayout::Field& field : MapEditorLayout::Fields()) {
        auto* label = new QLabel(LabelOf(field.suffix), this);
        label->setGeometry(ToPixels(MapEditorLayout::LabelRect(field)));
        auto* box = new QLineEdit(this);
        box->setObjectName(MapEditorLayout::BoxName(field, RigPrefix()));
        box->setGeometry(ToPixels(MapEditorLayout::BoxRect(field)));
        boxes_.insert(field.suffix, box);
    }

    const bool elecraft = rig_ == Rig::Elecraft;
    Label1 = new QLabel(QStringLiteral("MIDI Mapping for %1 - Enter CAT Commands Directly or # "
                                       "to Prefix Software Commands")
                            .arg(elecraft ? QStringLiteral("Elecraft") : QStringLiteral("Flex")),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(ToPixels(MapEditorLayout::InstructionRect(elecraft ? 5400 : 5520)));

    cmdSave = new WrappingButton(QStringLiteral("&Save && Exit"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setGeometry(ToPixels(MapEditorLayout::SaveRect()));
    connect(cmdSave, &QPushButton::clicked, this, &frmMap_Midi::cmdSave_Click);

    cmdExit = new WrappingButton(QStringLiteral("&Cancel"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setGeometry(ToPixels(MapEditorLayout::CancelRect()));
    connect(cmdExit, &QPushButton::clicked, this, &frmMap_Midi::cmdExit_Click);
}

void frmMap_Midi::SetTabOrder()
{
    const QList<MapEditorLayout::Field>& fields = MapEditorLayout::Fields();
    QWidget* previous = cmdExit;
    for (int i = 0; i < fields.size(); ++i) {
        if (i == MapEditorLayout::kFieldsBeforeSave) {
            setTabOrder(previous, cmdSave);
            previous = cmdSave;
        }
        QLineEdit* box = boxes_.value(fields[i].suffix);
        setTabOrder(previous, box);
        previous = box;
    }
}

void frmMap_Midi::Form_Load()
{
    // Save stays refused unless every box shows its live entry: saving a
    // half-filled window would overwrite the stored commands with empty text.
    canSave_ = RunGuarded(alerts_, RoutineName(QStringLiteral("Form_Load")), [this] {
        QStringList tooLong;
        for (const MapEditorLayout::Field& field : MapEditorLayout::Fields()) {
            const QString key = RigPrefix() + field.suffix;
            const QString entry = keyMap_.Read(key);
            loaded_.insert(field.suffix, entry);
            QLineEdit* box = boxes_.value(field.suffix);
            box->setText(entry);
            if (entry.size() > box->maxLength()) {
                box->setReadOnly(true);
                tooLong << QStringLiteral("%1 (%2 characters)").arg(key).arg(entry.size());
            }
        }
        if (!keyMap_.IsLoaded())
            throw VbError(VbError::kPathFileAccess,
                          QStringLiteral("The key map was not read completely from the settings "
                                         "at start-up; saving is disabled so that the stored "
                                         "commands are kept"));
        if (!tooLong.isEmpty())
            alerts_.MsgBox(QStringLiteral("These entries are longer than a box of this window holds "
                                          "(%1 characters). They are kept as they are stored and "
                                          "cannot be changed here:\n%2")
                               .arg(boxes_.begin().value()->maxLength())
                               .arg(tooLong.join(QLatin1Char('\n'))),
                           IAlerts::Buttons::Ok, IAlerts::Icon::Information);
    });
    cmdSave->setEnabled(canSave_);
}

void frmMap_Midi::cmdSave_Click()
{
    if (!canSave_) {
        RefuseSave();
        return;
    }
    const bool saved = RunGuarded(alerts_, RoutineName(QStringLiteral("cmdSave_click")), [this] {
        for (const MapEditorLayout::Field& field : MapEditorLayout::Fields()) {
            const QString key = RigPrefix() + field.suffix;
            keyMap_.Write(key, EntryOf(field.suffix));
            store_.Write(KeyMap::Section(), key, keyMap_.Read(key));
        }
    });
    if (saved)
        close();
}

QString frmMap_Midi::EntryOf(const QString& suffix) const
{
    // A box shows at most maxLength() characters: one whose text was not
    // changed stands for the whole entry it was filled with.
    const QLineEdit* box = boxes_.value(suffix);
    const QString& loaded = loaded_[suffix];
    return box->text() == loaded.left(box->maxLength()) ? loaded : box->text();
}

void frmMap_Midi::RefuseSave()
{
    alerts_.MsgBox(QStringLiteral("The key map could not be shown completely, so it cannot be "
                                  "saved from this window: saving would overwrite the stored "
                                  "commands with empty text. Press Cancel and restart the "
                                  "program to edit the key map."),
                   IAlerts::Buttons::Ok, IAlerts::Icon::Information);
}

void frmMap_Midi::cmdExit_Click()
{
    close();
}

QString frmMap_Midi::RigPrefix() const
{
    return rig_ == Rig::Elecraft ? QStringLiteral("e") : QStringLiteral("f");
}

QString frmMap_Midi::RoutineName(const QString& handler) const
{
    return objectName() + QLatin1Char('_') + handler;
}
