#include "core/KeyMap.h"
#include "core/Options.h"
#include "core/RadioState.h"
#include "core/VbError.h"
#include "mapedit/MapEditors.h"
#include "mapedit/frmMap_Midi.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingCatSender.h"
#include "translation/Translator.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A loaded live map over a store in memory; the writes of the load are forgotten.
struct Fixture {
    Fixture()
    {
        keyMap.Load(store);
        store.writes.clear();
    }
    QLineEdit* Box(QWidget* editor, const char* name) { return editor->findChild<QLineEdit*>(name); }
    void Click(QWidget* editor, const char* button)
    {
        QTest::mouseClick(editor->findChild<QPushButton*>(button), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    MemorySettingsStore store;
    KeyMap keyMap;
    RecordingAlerts alerts;
    MapEditors editors{keyMap, store, alerts};
};

} // namespace

TEST(MapEditor, ShowsTheLiveEntriesOfItsOwnRigOncePerRig)
{
    Fixture f;
    f.keyMap.Write("e6441", "live elecraft");
    f.keyMap.Write("f6441", "live flex");
    frmMap_Midi* flex = f.editors.Show("flex");
    EXPECT_EQ(f.Box(flex, "txtm6441")->text(), "live flex");
    EXPECT_EQ(f.Box(flex, "txtf6634")->text(), "#DN5000");
    EXPECT_EQ(f.Box(flex, "txtfkm2sldb")->text(), "#TXPWR");
    frmMap_Midi* elecraft = f.editors.Show("elecraft");
    EXPECT_EQ(f.Box(elecraft, "txtm6441")->text(), "live elecraft");
    EXPECT_EQ(f.Box(elecraft, "txtm047f")->text(), "SWT13;");

    // A second show raises the open editor with its unsaved edits.
    f.Box(flex, "txtm6441")->setText("unsaved edit");
    f.keyMap.Write("f6441", "changed meanwhile");
    EXPECT_EQ(f.editors.Show("flex"), flex);
    EXPECT_EQ(f.Box(flex, "txtm6441")->text(), "unsaved edit");
    EXPECT_EQ(f.editors.Show("kenwood"), nullptr);
    EXPECT_EQ(f.editors.Show("Flex"), nullptr);
    EXPECT_TRUE(f.store.writes.isEmpty());
    EXPECT_TRUE(f.alerts.boxes.isEmpty());

    QPointer<frmMap_Midi> a = flex, b = elecraft;
    f.editors.CloseAll();
    EXPECT_TRUE(a.isNull() && b.isNull());
}

TEST(MapEditor, SaveStoresEveryKeyOfItsRigAndTheNextMessageUsesIt)
{
    Fixture f;
    QPointer<frmMap_Midi> editor = f.editors.Show("elecraft");
    f.Box(editor, "txtm6441")->setText("UP3;");
    f.Box(editor, "txte664c")->setText("#UP7000");
    f.Box(editor, "txtm017f")->setText("  SWT10; ");
    f.Box(editor, "txtm027f")->clear();
    f.Click(editor, "cmdSave");
    EXPECT_TRUE(editor.isNull()) << "Save closes the editor";

    ASSERT_EQ(f.store.writes.size(), 62);
    for (const QString& write : f.store.writes)
        EXPECT_TRUE(write.startsWith("midimap/e")) << qPrintable(write);
    for (const auto& [key, text] : {std::pair{"e6441", "UP3;"}, {"e664c", "#UP7000"},
                                     {"e017f", "  SWT10; "}, {"e027f", ""}, {"e6442", "UP2;"}}) {
        EXPECT_EQ(f.store.Read("midimap", key, "<none>"), text) << key;
        EXPECT_EQ(f.keyMap.Read(key), text) << key;
    }

    RadioState radio;
    radio.valid_cat_a = true;
    const Options options{"0", "1000", "100", "0", "elecraft"};
    RecordingCatSender cat;
    Translator translator(f.keyMap, radio, options, cat, f.alerts);
    translator.ProcessMIDI(MidiEvent::Short(0xB0, 0x64, 0x41));
    translator.ProcessMIDI(MidiEvent::Short(0xB0, 0x01, 0x7F));
    EXPECT_EQ(cat.commands, QStringList({"UP3;", "  SWT10; "}));
    EXPECT_TRUE(f.alerts.boxes.isEmpty());
}

TEST(MapEditor, CancelAndTheCloseBoxTouchNothing)
{
    for (bool viaCloseBox : {false, true}) {
        Fixture f;
        QPointer<frmMap_Midi> editor = f.editors.Show("flex");
        f.Box(editor, "txtm6441")->setText("#UP99");
        if (viaCloseBox) {
            editor->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        } else {
            f.Click(editor, "cmdExit");
        }
        EXPECT_TRUE(editor.isNull());
        EXPECT_TRUE(f.store.writes.isEmpty());
        EXPECT_EQ(f.keyMap.Read("f6441"), "#UP10");
        EXPECT_EQ(f.editors.Editor(frmMap_Midi::Rig::Flex), nullptr);
    }
}

TEST(MapEditor, SaveThatFailsPartWayIsReportedAndCanBeRetried)
{
    Fixture f;
    f.store.failAtWrite = 3;
    QPointer<frmMap_Midi> editor = f.editors.Show("elecraft");
    for (const char* name : {"txtm6441", "txtm6442", "txtm6443", "txtm6444"})
        f.Box(editor, name)->setText(QStringLiteral("new ") + name);
    f.Click(editor, "cmdSave");
    ASSERT_FALSE(editor.isNull()) << "the editor stays open to retry or cancel";
    EXPECT_EQ(f.alerts.texts(), QStringList{"VB6 runtime error (frmMap_Midi_Elecraft_cmdSave_click): "
                                            "75 - Path/File access error: disk full"});
    EXPECT_EQ(f.store.Read("midimap", "e6442", ""), "new txtm6442");
    EXPECT_EQ(f.store.Read("midimap", "e6443", ""), "UP3;");
    EXPECT_EQ(f.keyMap.Read("e6444"), "UP8;") << "later entries untouched";

    f.store.failAtWrite = 0;
    f.Click(editor, "cmdSave");
    EXPECT_EQ(f.store.Read("midimap", "e6444", ""), "new txtm6444");
}

// A map that could not be loaded whole at start-up is never saved over the stored one.
TEST(MapEditor, IncompleteStartUpLoadRefusesToSave)
{
    MemorySettingsStore store;
    store.failAtRead = 70;  // start-up stops inside the Flex map
    KeyMap keyMap;
    EXPECT_THROW(keyMap.Load(store), VbError);
    RecordingAlerts alerts;
    MapEditors editors(keyMap, store, alerts);
    const int writesBefore = store.writes.size();

    frmMap_Midi* flex = editors.Show("flex");
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (frmMap_Midi_Flex_Form_Load): 75 - "))
        << alerts.boxes[0].text.toStdString();
    EXPECT_FALSE(flex->findChild<QPushButton*>("cmdSave")->isEnabled());
    flex->cmdSave_Click();
    ASSERT_EQ(alerts.boxes.size(), 2);
    EXPECT_TRUE(alerts.boxes[1].text.contains("cannot be saved"));
    EXPECT_EQ(store.writes.size(), writesBefore);
    EXPECT_TRUE(flex->isVisible());
}
