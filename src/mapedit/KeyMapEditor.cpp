#include "mapedit/KeyMapEditor.h"

#include "core/IAlerts.h"
#include "core/ISettingsStore.h"
#include "core/KeyMap.h"
#include "core/FailureReport.h"
#include "core/NumberedError.h"
#include "mapedit/KeyMapEditorLayout.h"
#include "widgets/CaptionFit.h"
#include "widgets/FormFont.h"
#include "widgets/Twips.h"
#include "widgets/WrappingButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QRect ToPixels(const QRect& twips)
{
    return Twips::Rect(twips.left(), twips.top(), twips.width(), twips.height());
}

} // namespace

KeyMapEditor::KeyMapEditor(RigType rig, KeyMap& keyMap, ISettingsStore& store, IAlerts& alerts, QWidget* parent)
    : QWidget(parent, Qt::Window), rig_(rig), keyMap_(keyMap), store_(store), alerts_(alerts)
{
    setObjectName(QStringLiteral("keyMapEditor") + RigTypes::Of(rig).name);
    setWindowTitle(QStringLiteral("MIDI Mapping"));
    setFixedSize(ToPixels(KeyMapEditorLayout::ClientRect()).size());
    FormFont::Apply(*this);
    BuildControls();
    CaptionFit::Apply(*this);
    SetTabOrder();
    Load();
}

void KeyMapEditor::BuildControls()
{
    for (const KeyMapEditorLayout::Field& field : KeyMapEditorLayout::Fields()) {
        auto* label = new QLabel(KeyMap::LabelOf(field.suffix), this);
        label->setGeometry(ToPixels(KeyMapEditorLayout::LabelRect(field)));
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("entry") + field.suffix);
        box->setGeometry(ToPixels(KeyMapEditorLayout::BoxRect(field)));
        boxes_.insert(field.suffix, box);
    }

    auto* instruction = new QLabel(QStringLiteral("MIDI Mapping for %1 - Enter %2 Directly or # "
                                                  "to Prefix Software Commands")
                                       .arg(RigTypes::Of(rig_).name, RigTypes::Of(rig_).textEntries),
                                   this);
    instruction->setObjectName(QStringLiteral("instructionLabel"));
    instruction->setGeometry(ToPixels(KeyMapEditorLayout::InstructionRect(rig_ == RigType::Elecraft ? 5400 : 5520)));

    saveButton_ = new WrappingButton(QStringLiteral("&Save && Exit"), this);
    saveButton_->setObjectName(QStringLiteral("saveButton"));
    saveButton_->setGeometry(ToPixels(KeyMapEditorLayout::SaveRect()));
    connect(saveButton_, &QPushButton::clicked, this, &KeyMapEditor::Save);

    cancelButton_ = new WrappingButton(QStringLiteral("&Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setGeometry(ToPixels(KeyMapEditorLayout::CancelRect()));
    connect(cancelButton_, &QPushButton::clicked, this, &KeyMapEditor::Cancel);
}

void KeyMapEditor::SetTabOrder()
{
    const QList<KeyMapEditorLayout::Field>& fields = KeyMapEditorLayout::Fields();
    QWidget* previous = cancelButton_;
    for (int i = 0; i < fields.size(); ++i) {
        if (i == KeyMapEditorLayout::kFieldsBeforeSave) {
            setTabOrder(previous, saveButton_);
            previous = saveButton_;
        }
        QLineEdit* box = boxes_.value(fields[i].suffix);
        setTabOrder(previous, box);
        previous = box;
    }
}

void KeyMapEditor::Load()
{
    // Save stays refused unless every box shows its live entry: saving a
    // half-filled window would overwrite the stored commands with empty text.
    canSave_ = ReportFailures(alerts_, RigTypes::Of(rig_).loadKeyMapRoutine, [this] {
        QStringList tooLong;
        for (const KeyMapEditorLayout::Field& field : KeyMapEditorLayout::Fields()) {
            const QString key = KeyMap::Name(rig_, field.suffix);
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
            throw NumberedError(NumberedError::kPathFileAccess,
                          QStringLiteral("The key map was not read completely from the settings "
                                         "at start-up; saving is disabled so that the stored "
                                         "commands are kept"));
        if (!tooLong.isEmpty())
            alerts_.Tell(QStringLiteral("These entries are longer than a box of this window holds "
                                        "(%1 characters). They are kept as they are stored and "
                                        "cannot be changed here:\n%2")
                             .arg(boxes_.begin().value()->maxLength())
                             .arg(tooLong.join(QLatin1Char('\n'))),
                         IAlerts::Icon::Information);
    });
    saveButton_->setEnabled(canSave_);
}

void KeyMapEditor::Save()
{
    if (!canSave_) {
        RefuseSave();
        return;
    }
    const bool saved = ReportFailures(alerts_, RigTypes::Of(rig_).saveKeyMapRoutine, [this] {
        for (const KeyMapEditorLayout::Field& field : KeyMapEditorLayout::Fields()) {
            const QString key = KeyMap::Name(rig_, field.suffix);
            keyMap_.Write(key, EntryOf(field.suffix));
            store_.Write(KeyMap::Section(), key, keyMap_.Read(key));
        }
    });
    if (saved)
        close();
}

QString KeyMapEditor::EntryOf(const QString& suffix) const
{
    // A box shows at most maxLength() characters: one whose text was not
    // changed stands for the whole entry it was filled with.
    const QLineEdit* box = boxes_.value(suffix);
    const QString& loaded = loaded_[suffix];
    return box->text() == loaded.left(box->maxLength()) ? loaded : box->text();
}

void KeyMapEditor::RefuseSave()
{
    alerts_.Tell(QStringLiteral("The key map could not be shown completely, so it cannot be "
                                "saved from this window: saving would overwrite the stored "
                                "commands with empty text. Press Cancel and restart the "
                                "program to edit the key map."),
                 IAlerts::Icon::Information);
}

void KeyMapEditor::Cancel()
{
    close();
}

QString KeyMapEditor::EntryText(const QString& suffix) const
{
    return boxes_.value(suffix)->text();
}

bool KeyMapEditor::EntryEditable(const QString& suffix) const
{
    return !boxes_.value(suffix)->isReadOnly();
}

void KeyMapEditor::TypeEntry(const QString& suffix, const QString& text)
{
    boxes_.value(suffix)->setText(text);
}
