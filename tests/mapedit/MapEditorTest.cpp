#include "core/FailureReport.h"
#include "core/KeyMap.h"
#include "mapedit/KeyMapEditors.h"
#include "mapedit/KeyMapEditor.h"
#include "support/ErrorNumberOf.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordingAlerts.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The live map loaded over a store in memory (where the read numbered
// `failAtRead` fails); the writes of the load are forgotten.
struct Fixture {
    explicit Fixture(int failAtRead = 0)
    {
        store.failAtRead = failAtRead;
        loaded = ErrorNumberOf([&] { keyMap.Load(store); }) == 0;
        store.writes.clear();
    }
    // Clicks a button of the editor and carries out the deletion a close asks for.
    void Click(QWidget* editor, const char* button)
    {
        QTest::mouseClick(editor->findChild<QPushButton*>(button), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    MemorySettingsStore store;
    KeyMap keyMap;
    RecordingAlerts alerts;
    KeyMapEditors editors{keyMap, store, alerts};
    bool loaded;
};

} // namespace

// One editor per rig shows that rig's live entries; Cancel and the close box
// leave the map and the store as they were.
TEST(MapEditor, ShowsTheLiveEntriesOfItsOwnRigOncePerRigAndLeavesWithoutSaving)
{
    Fixture f;
    f.keyMap.Write("e6441", "live elecraft");
    f.keyMap.Write("f6441", "live flex");
    QPointer<KeyMapEditor> flex = f.editors.Show(RigType::Flex);
    QPointer<KeyMapEditor> elecraft = f.editors.Show(RigType::Elecraft);
    for (const auto& [editor, suffix, text] : {std::tuple{flex, "6441", "live flex"}, {flex, "km2sldb", "#TXPWR"},
                                               {elecraft, "6441", "live elecraft"}, {elecraft, "047f", "SWT13;"}})
        EXPECT_EQ(editor->EntryText(suffix), text) << suffix;

    // A second show raises the open editor with its unsaved edits.
    flex->TypeEntry("6441", "unsaved edit");
    f.keyMap.Write("f6441", "changed meanwhile");
    EXPECT_EQ(f.editors.Show(RigType::Flex), flex);
    EXPECT_EQ(flex->EntryText("6441"), "unsaved edit");

    elecraft->TypeEntry("6441", "unsaved edit");
    f.Click(flex, "cancelButton");
    elecraft->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(flex.isNull() && elecraft.isNull());
    EXPECT_EQ(f.keyMap.Read("f6441") + " / " + f.keyMap.Read("e6441"), "changed meanwhile / live elecraft");
    EXPECT_TRUE(f.store.writes.isEmpty());
    EXPECT_TRUE(f.alerts.boxes.isEmpty());

    flex = f.editors.Show(RigType::Flex);
    elecraft = f.editors.Show(RigType::Elecraft);
    f.editors.CloseAll();
    EXPECT_TRUE(flex.isNull() && elecraft.isNull());
}

// A save that fails part way is reported, keeps the editor open and can be
// retried; a save stores every key of its rig exactly as typed and closes.
TEST(MapEditor, SaveStoresEveryKeyOfItsRigAndCanBeRetriedAfterAFailure)
{
    Fixture f;
    f.store.failAtWrite = 3;
    QPointer<KeyMapEditor> editor = f.editors.Show(RigType::Elecraft);
    for (const auto& [suffix, text] : {std::pair{"6441", "UP3;"}, {"6442", "#UP7000"}, {"6443", "  SWT10; "},
                                       {"664c", "new 664c"}, {"027f", ""}})
        editor->TypeEntry(suffix, text);
    f.Click(editor, "saveButton");
    ASSERT_FALSE(editor.isNull()) << "the editor stays open to retry or cancel";
    EXPECT_EQ(f.alerts.texts(), QStringList{FailureText(Routine::SaveElecraftKeyMap, 75, "Path/File access error: disk full")});
    EXPECT_EQ(f.store.Read("midimap", "e6442", ""), "#UP7000");
    EXPECT_EQ(f.store.Read("midimap", "e6443", ""), "UP3;");
    EXPECT_EQ(f.keyMap.Read("e664c"), "#UP5000") << "later entries untouched";

    f.store.failAtWrite = 0;
    f.store.writes.clear();
    f.Click(editor, "saveButton");
    EXPECT_TRUE(editor.isNull()) << "Save closes the editor";
    ASSERT_EQ(f.store.writes.size(), 62);
    for (const QString& write : f.store.writes)
        EXPECT_TRUE(write.startsWith("midimap/e")) << qPrintable(write);
    for (const auto& [key, text] : {std::pair{"e6441", "UP3;"}, {"e6443", "  SWT10; "}, {"e664c", "new 664c"},
                                    {"e027f", ""}, {"e6444", "UP8;"}}) {
        EXPECT_EQ(f.store.Read("midimap", key, "<none>"), text) << key;
        EXPECT_EQ(f.keyMap.Read(key), text) << key;
    }
}

// A map that could not be loaded whole at start-up is never saved over the stored one.
TEST(MapEditor, IncompleteStartUpLoadRefusesToSave)
{
    Fixture f(70);  // start-up stops inside the Flex map
    ASSERT_FALSE(f.loaded);
    KeyMapEditor* flex = f.editors.Show(RigType::Flex);
    ASSERT_EQ(f.alerts.boxes.size(), 1);
    EXPECT_TRUE(f.alerts.texts()[0].startsWith(FailureText(Routine::LoadFlexKeyMap, 75, "")))
        << f.alerts.texts()[0].toStdString();
    EXPECT_FALSE(flex->findChild<QPushButton*>("saveButton")->isEnabled());
    flex->Save();
    EXPECT_TRUE(f.alerts.boxes.size() == 2 && f.alerts.texts()[1].contains("cannot be saved"));
    EXPECT_TRUE(f.store.writes.isEmpty());
    EXPECT_TRUE(flex->isVisible());
}

// An entry longer than a box holds is shown read-only, named in one report,
// and saved whole beside the edit of another box.
TEST(MapEditor, EntryLongerThanABoxHoldsIsKeptWhole)
{
    Fixture f;
    const QString huge = QString(100000, 'x') + "FA00014060000;";
    f.keyMap.Write("f6441", huge);
    QPointer<KeyMapEditor> editor = f.editors.Show(RigType::Flex);
    EXPECT_TRUE(!editor->EntryEditable("6441"));
    EXPECT_FALSE(!editor->EntryEditable("6442"));
    ASSERT_EQ(f.alerts.boxes.size(), 1);
    EXPECT_TRUE(f.alerts.texts()[0].contains("f6441 (100014 characters)")) << f.alerts.texts()[0].toStdString();
    editor->TypeEntry("6442", "#UP30");
    f.Click(editor, "saveButton");
    EXPECT_EQ(f.store.Read("midimap", "f6441", ""), huge);
    EXPECT_EQ(f.keyMap.Read("f6441"), huge);
    EXPECT_EQ(f.store.Read("midimap", "f6442", ""), "#UP30");
}
