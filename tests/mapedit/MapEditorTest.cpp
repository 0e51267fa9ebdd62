#include "core/KeyMap.h"
#include "mapedit/MapEditors.h"
#include "mapedit/frmMap_Midi.h"
#include "translation/Translator.h"
#include "core/Options.h"
#include "core/RadioState.h"
#include "support/RecordingCatSender.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"
#include "RecordingStore.h"

#include <QApplication>
#include <QPixmap>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kElecraftSaveError =
    QStringLiteral("VB6 runtime error (frmMap_Midi_Elecraft_cmdSave_click): ");
const QString kElecraftLoadError =
    QStringLiteral("VB6 runtime error (frmMap_Midi_Elecraft_Form_Load): ");

QString Hex2(int v)
{
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0'));
}

// A loaded live map over a temporary store; writes made after loading are recorded.
struct Fixture {
    Fixture()
    {
        keyMap.Load(temp.store);
        editors.reset(new MapEditors(keyMap, store, alerts));
    }

    QMap<QString, QString> StoredMap() const
    {
        QMap<QString, QString> values;
        for (const QString& name : KeyMap::Names())
            values.insert(name, temp.store.Read(KeyMap::Section(), name, QStringLiteral("<none>")));
        return values;
    }

    QMap<QString, QString> LiveMap() const
    {
        QMap<QString, QString> values;
        for (const QString& name : KeyMap::Names())
            values.insert(name, keyMap.Read(name));
        return values;
    }

    TempSettings temp;
    RecordingStore store{temp.store};
    KeyMap keyMap;
    RecordingAlerts alerts;
    std::unique_ptr<MapEditors> editors;
};

QLineEdit* Box(QWidget* editor, const QString& name)
{
    return editor->findChild<QLineEdit*>(name);
}

QPushButton* Button(QWidget* editor, const QString& name)
{
    return editor->findChild<QPushButton*>(name);
}

QRect Px(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

// One box with its label, as the window is drawn.
struct Placement {
    QString label;
    QString box;  // "@" stands for the rig letter
    int labelLeft;
    int labelWidth;
    int boxLeft;
    int top;
};

QList<Placement> ExpectedPlacements()
{
    QList<Placement> out;
    const auto rowTop = [](int row) { return 240 + 360 * (row - 1); };
    for (int n = 1; n <= 12; ++n) {
        out.append({QStringLiteral("Home Wheel A Up speed %1").arg(n),
                    QStringLiteral("txtm64") + Hex2(0x40 + n), 120, 2055, 2280, rowTop(n)});
        out.append({QStringLiteral("Home Wheel A Dn speed %1").arg(n),
                    QStringLiteral("txtm64") + Hex2(0x40 - n), 3480, 2055, 5640, rowTop(n)});
        out.append({QStringLiteral("Mode 1 Wheel A Up speed %1").arg(n),
                    QStringLiteral("txt@66") + Hex2(0x40 + n), 6840, n == 1 ? 2295 : 2175, 9120,
                    rowTop(n)});
        out.append({QStringLiteral("Mode 1 Wheel A Dn speed %1").arg(n),
                    QStringLiteral("txt@66") + Hex2(0x40 - n), 10320, 2175, 12600, rowTop(n)});
    }
    for (int b = 1; b <= 6; ++b) {
        out.append({QStringLiteral("Button %1").arg(b), QStringLiteral("txtm") + Hex2(b) + QStringLiteral("7f"), 13800,
                    735, 15480, rowTop(b)});
        out.append({QStringLiteral("Button %1 Long Press").arg(b),
                    QStringLiteral("txtm") + Hex2(0x0a + b) + QStringLiteral("7f"), 13800, 1455,
                    15480, rowTop(6 + b)});
    }
    out.append({QStringLiteral("Mode 2 Slider B"), QStringLiteral("txt@km2sldb"), 120, 1935, 2280,
                4560});
    out.append({QStringLiteral("Mode 3 Slider B"), QStringLiteral("txt@km3sldb"), 3480, 2055, 5640,
                4560});
    return out;
}

QLabel* LabelWithText(QWidget* editor, const QString& text)
{
    for (QLabel* label : editor->findChildren<QLabel*>()) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

} // namespace

class EditorGeometry : public ::testing::TestWithParam<QString> {};

TEST_P(EditorGeometry, EveryLabelAndBoxSitsWhereTheLayoutSays)
{
    Fixture f;
    frmMap_Midi* editor = f.editors->Show(GetParam());
    ASSERT_NE(editor, nullptr);
    const QString letter = GetParam().left(1);
    const QList<Placement> placements = ExpectedPlacements();
    ASSERT_EQ(placements.size(), 62);
    EXPECT_EQ(editor->findChildren<QLineEdit*>().size(), 62);
    for (const Placement& p : placements) {
        const QString boxName = QString(p.box).replace(QLatin1Char('@'), letter);
        QLineEdit* box = Box(editor, boxName);
        ASSERT_NE(box, nullptr) << boxName.toStdString();
        EXPECT_EQ(box->geometry(), Px(p.boxLeft, p.top, 975, 285)) << boxName.toStdString();
        QLabel* label = LabelWithText(editor, p.label);
        ASSERT_NE(label, nullptr) << p.label.toStdString();
        EXPECT_EQ(label->pos(), Px(p.labelLeft, p.top, p.labelWidth, 255).topLeft())
            << p.label.toStdString();
    }
    EXPECT_EQ(editor->windowTitle(), "MIDI Mapping");
    EXPECT_EQ(editor->size(), QSize(16740 / 15, 6195 / 15));
    EXPECT_EQ(Button(editor, "cmdSave")->text(), "&Save && Exit");
    EXPECT_EQ(Button(editor, "cmdSave")->pos(), Px(7800, 5520, 855, 495).topLeft());
    EXPECT_EQ(Button(editor, "cmdExit")->text(), "&Cancel");
    EXPECT_EQ(Button(editor, "cmdExit")->geometry(), Px(9000, 5520, 855, 495));

    auto* label1 = editor->findChild<QLabel*>("Label1");
    ASSERT_NE(label1, nullptr);
    const bool elecraft = letter == "e";
    EXPECT_EQ(label1->pos(), Px(elecraft ? 5400 : 5520, 5160, 6615, 255).topLeft());
    EXPECT_EQ(label1->text(), QStringLiteral("MIDI Mapping for %1 - Enter CAT Commands Directly "
                                             "or # to Prefix Software Commands")
                                  .arg(elecraft ? "Elecraft" : "Flex"));
    EXPECT_EQ(editor->objectName(), elecraft ? "frmMap_Midi_Elecraft" : "frmMap_Midi_Flex");
}

TEST_P(EditorGeometry, TabOrderRunsThroughHomeWheelAndButtonsBeforeSave)
{
    Fixture f;
    frmMap_Midi* editor = f.editors->Show(GetParam());
    const QString letter = GetParam().left(1);
    QStringList expected = {"cmdExit"};
    for (int n = 1; n <= 12; ++n)
        expected << QStringLiteral("txtm64") + Hex2(0x40 + n);
    for (int n = 1; n <= 12; ++n)
        expected << QStringLiteral("txtm64") + Hex2(0x40 - n);
    for (int b = 1; b <= 6; ++b)
        expected << QStringLiteral("txtm") + Hex2(b) + QStringLiteral("7f");
    for (int b = 1; b <= 6; ++b)
        expected << QStringLiteral("txtm") + Hex2(0x0a + b) + QStringLiteral("7f");
    expected << "cmdSave" << "txt@km2sldb" << "txt@km3sldb";
    for (int n = 12; n >= 1; --n)
        expected << QStringLiteral("txt@66") + Hex2(0x40 - n);
    for (int n = 1; n <= 12; ++n)
        expected << QStringLiteral("txt@66") + Hex2(0x40 + n);
    expected.replaceInStrings(QStringLiteral("@"), letter);

    QStringList chain;
    QWidget* w = Button(editor, "cmdExit");
    for (int i = 0; i < expected.size(); ++i) {
        chain << w->objectName();
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus)
            w = w->nextInFocusChain();
    }
    EXPECT_EQ(chain, expected);
}

INSTANTIATE_TEST_SUITE_P(BothRigs, EditorGeometry, ::testing::Values("elecraft", "flex"));

TEST(MapEditor, ShowsTheLiveEntriesOfItsOwnRig)
{
    Fixture f;
    f.keyMap.Write("e6441", "live elecraft");
    f.keyMap.Write("f6441", "live flex");
    frmMap_Midi* flex = f.editors->Show("flex");
    EXPECT_EQ(Box(flex, "txtm6441")->text(), "live flex");
    EXPECT_EQ(Box(flex, "txtf6634")->text(), "#DN5000");
    EXPECT_EQ(Box(flex, "txtfkm2sldb")->text(), "#TXPWR");
    frmMap_Midi* elecraft = f.editors->Show("elecraft");
    EXPECT_EQ(Box(elecraft, "txtm6441")->text(), "live elecraft");
    EXPECT_EQ(Box(elecraft, "txtm047f")->text(), "SWT13;");
    EXPECT_EQ(Box(elecraft, "txtekm2sldb")->text(), "");
    EXPECT_TRUE(f.alerts.boxes.isEmpty());
    EXPECT_TRUE(f.store.writes.isEmpty()) << "the editor never reads or writes the store on load";
}

TEST(MapEditor, SaveWritesEveryKeyOfItsRigInOrderAndNothingElse)
{
    Fixture f;
    const QMap<QString, QString> storedBefore = f.StoredMap();
    QPointer<frmMap_Midi> editor = f.editors->Show("elecraft");
    Box(editor, "txtm6441")->setText("UP3;");
    Box(editor, "txte664c")->setText("#UP7000");
    Box(editor, "txtm017f")->setText("  SWT10; ");
    Box(editor, "txtm027f")->clear();
    QTest::mouseClick(Button(editor, "cmdSave"), Qt::LeftButton);

    QStringList expectedWrites;
    for (const char* suffix :
         {"6441", "6442", "6443", "6444", "6445", "6446", "6447", "6448", "6449", "644a", "644b",
          "644c", "643f", "643e", "643d", "643c", "643b", "643a", "6439", "6438", "6437", "6436",
          "6435", "6434", "017f", "027f", "037f", "047f", "057f", "067f", "0b7f", "0c7f", "0d7f",
          "0e7f", "0f7f", "107f", "km2sldb", "km3sldb", "6634", "6635", "6636", "6637", "6638",
          "6639", "663a", "663b", "663c", "663d", "663e", "663f", "6641", "6642", "6643", "6644",
          "6645", "6646", "6647", "6648", "6649", "664a", "664b", "664c"}) {
        const QString key = QStringLiteral("e") + suffix;
        expectedWrites << QStringLiteral("midimap/") + key + QLatin1Char('=') + f.keyMap.Read(key);
    }
    EXPECT_EQ(f.store.writes, expectedWrites);

    QMap<QString, QString> storedAfter = f.StoredMap();
    QMap<QString, QString> expected = storedBefore;
    expected["e6441"] = "UP3;";
    expected["e664c"] = "#UP7000";
    expected["e017f"] = "  SWT10; ";
    expected["e027f"] = "";
    EXPECT_EQ(storedAfter, expected);
    EXPECT_EQ(f.LiveMap(), expected);
    // The translation builds its keys with upper-case hex digits.
    EXPECT_EQ(f.keyMap.Read("E664C"), "#UP7000");

    // Saved text is what the next start loads.
    IniSettingsStore reopened(f.temp.store.filePath());
    KeyMap restarted;
    restarted.Load(reopened);
    EXPECT_EQ(restarted.Read("e017f"), "  SWT10; ");
    EXPECT_EQ(restarted.Read("e027f"), "");

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull()) << "Save closes and deletes the editor";
    EXPECT_TRUE(f.alerts.boxes.isEmpty());
}

TEST(MapEditor, SavedEditIsUsedByTheVeryNextMessage)
{
    Fixture f;
    RadioState radio;
    radio.valid_cat_a = true;
    const Options options{"0", "1000", "100", "0", "elecraft"};
    RecordingCatSender cat;
    Translator translator(f.keyMap, radio, options, cat, f.alerts);

    frmMap_Midi* editor = f.editors->Show("elecraft");
    Box(editor, "txtm6441")->setText("UP3;");
    Box(editor, "txtm047f")->setText("SWT99;");
    QTest::mouseClick(Button(editor, "cmdSave"), Qt::LeftButton);

    translator.ProcessMIDI(MidiEvent::Short(0xB0, 0x64, 0x41));
    translator.ProcessMIDI(MidiEvent::Short(0xB0, 0x04, 0x7F));
    EXPECT_EQ(cat.commands, QStringList({"UP3;", "SWT99;"}));
    EXPECT_TRUE(f.alerts.boxes.isEmpty());
}

TEST(MapEditor, CancelAndCloseBoxTouchNothing)
{
    for (bool viaCloseBox : {false, true}) {
        Fixture f;
        const QMap<QString, QString> storedBefore = f.StoredMap();
        const QMap<QString, QString> liveBefore = f.LiveMap();
        QPointer<frmMap_Midi> editor = f.editors->Show("flex");
        Box(editor, "txtm6441")->setText("#UP99");
        if (viaCloseBox)
            editor->close();
        else
            QTest::mouseClick(Button(editor, "cmdExit"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(editor.isNull());
        EXPECT_TRUE(f.store.writes.isEmpty());
        EXPECT_EQ(f.StoredMap(), storedBefore);
        EXPECT_EQ(f.LiveMap(), liveBefore);
        EXPECT_EQ(f.editors->Editor(frmMap_Midi::Rig::Flex), nullptr);
    }
}

TEST(MapEditors, SecondShowRaisesTheOpenEditorWithoutReloading)
{
    Fixture f;
    frmMap_Midi* first = f.editors->Show("flex");
    Box(first, "txtm6441")->setText("unsaved edit");
    f.keyMap.Write("f6441", "changed meanwhile");
    frmMap_Midi* second = f.editors->Show("flex");
    EXPECT_EQ(first, second);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(Box(second, "txtm6441")->text(), "unsaved edit");

    frmMap_Midi* elecraft = f.editors->Show("elecraft");
    EXPECT_NE(elecraft, first);
    EXPECT_EQ(elecraft->rig(), frmMap_Midi::Rig::Elecraft);
    EXPECT_EQ(f.editors->Show("kenwood"), nullptr);
    EXPECT_EQ(f.editors->Show("Flex"), nullptr);

    QPointer<frmMap_Midi> a = first, b = elecraft;
    f.editors->CloseAll();
    EXPECT_TRUE(a.isNull());
    EXPECT_TRUE(b.isNull());
}

TEST(MapEditor, SaveFailurePartWayKeepsEarlierKeysAndStaysOpen)
{
    Fixture f;
    f.store.failAtWrite = 3;
    QPointer<frmMap_Midi> editor = f.editors->Show("elecraft");
    for (const char* name : {"txtm6441", "txtm6442", "txtm6443", "txtm6444"})
        Box(editor, name)->setText(QStringLiteral("new ") + name);
    QTest::mouseClick(Button(editor, "cmdSave"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ASSERT_FALSE(editor.isNull()) << "the editor stays open to retry or cancel";
    ASSERT_EQ(f.alerts.boxes.size(), 1);
    EXPECT_EQ(f.alerts.boxes[0].text,
              kElecraftSaveError + "75 - Path/File access error: disk full");
    EXPECT_EQ(f.alerts.boxes[0].icon, IAlerts::Icon::Information);
    EXPECT_EQ(f.temp.store.Read("midimap", "e6442", ""), "new txtm6442");
    EXPECT_EQ(f.temp.store.Read("midimap", "e6443", ""), "UP3;");
    EXPECT_EQ(f.keyMap.Read("e6443"), "new txtm6443") << "the failing entry was applied";
    EXPECT_EQ(f.keyMap.Read("e6444"), "UP8;") << "later entries untouched";

    f.store.failAtWrite = 0;
    QTest::mouseClick(Button(editor, "cmdSave"), Qt::LeftButton);
    EXPECT_EQ(f.temp.store.Read("midimap", "e6444", ""), "new txtm6444");
}

TEST(MapEditor, IncompleteStartUpLoadDisablesSave)
{
    TempSettings temp;
    RecordingStore store(temp.store);
    store.failAtRead = 70;  // start-up stops inside the Flex map
    KeyMap keyMap;
    EXPECT_THROW(keyMap.Load(store), VbError);
    ASSERT_FALSE(keyMap.IsLoaded());
    RecordingAlerts alerts;
    MapEditors editors(keyMap, store, alerts);
    const int writesBefore = store.writes.size();

    frmMap_Midi* flex = editors.Show("flex");
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith(
        "VB6 runtime error (frmMap_Midi_Flex_Form_Load): 75 - "))
        << alerts.boxes[0].text.toStdString();
    EXPECT_FALSE(flex->CanSave());
    EXPECT_FALSE(Button(flex, "cmdSave")->isEnabled());

    flex->cmdSave_Click();
    ASSERT_EQ(alerts.boxes.size(), 2);
    EXPECT_TRUE(alerts.boxes[1].text.contains("cannot be saved"));
    EXPECT_EQ(store.writes.size(), writesBefore) << "a refused save writes nothing";
    EXPECT_EQ(temp.store.Read("midimap", "f6441", "<none>"), "#UP10");
    EXPECT_TRUE(flex->isVisible());
    EXPECT_TRUE(editors.Show("elecraft")->findChild<QPushButton*>("cmdSave")->isEnabled() == false);
    EXPECT_TRUE(alerts.boxes[2].text.startsWith(kElecraftLoadError));
}

// Saves both editors as PNG files into $VMC_SCREENSHOT_DIR (run under xvfb-run).
TEST(MapEditorScreenshots, BothEditors)
{
    const QString dir = qEnvironmentVariable("VMC_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "set VMC_SCREENSHOT_DIR to save screenshots";
    Fixture f;
    for (const char* rig : {"elecraft", "flex"}) {
        frmMap_Midi* editor = f.editors->Show(rig);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));
        EXPECT_TRUE(editor->grab().save(dir + "/" + editor->objectName() + ".png"));
    }
}
