#include "core/IniSettingsStore.h"
#include "core/NumberedError.h"
#include "support/FileBytes.h"
#include "support/TempSettings.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(IniSettingsStore, EveryTextComesBackAsWrittenAndMissingKeysGiveTheDefault)
{
    const QStringList values = {
        "", " lead", "trail ", "  both  ", "a,b,c", "x;y", "#UP10", "a=b=c", "\"quoted\"", "'single'", "back\\slash", "\\",
        "ends with \\", "Grüße 73 ÄÖÜ", "日本", "tab\there", "line\nbreak", "cr\rhere", "; leading semicolon", "[section]",
        "\"", "\" unbalanced", "=", "   ", "PC 50;"};
    TempSettings t;
    EXPECT_EQ(t.store.Read("settings", "rigtype", "flex"), "flex");
    EXPECT_FALSE(QFileInfo::exists(t.store.filePath()));
    for (int i = 0; i < values.size(); ++i)
        t.store.Write("midimap", QString("k%1").arg(i), values[i]);
    IniSettingsStore again(t.store.filePath());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.Read("midimap", QString("K%1").arg(i), "DEFAULT"), values[i]) << i;
    // Section names ignore letter case (k0 holds ""); a key is found in its own section only.
    EXPECT_EQ(again.Read("MIDIMAP", "k0", "DEFAULT") + again.Read("settings", "k1", "DEFAULT"), "DEFAULT");
}

// A place that cannot be written loses no setting: the write fails with
// error 75 naming the file. (A file that cannot be read is never replaced:
// the whole-program test meets one.)
TEST(IniSettingsStore, FailingWritesAreReportedAndLoseNothing)
{
    TempSettings t;
    ASSERT_TRUE(PutFileBytes(t.dir.filePath("blocked"), "a file where a folder must be"));
    IniSettingsStore store(t.dir.filePath("blocked/vorn-midi-connector.ini"));
    try {
        store.Write("settings", "catport", "4");
        ADD_FAILURE() << "the write did not fail";
    } catch (const NumberedError& e) {
        EXPECT_TRUE(e.number() == NumberedError::kPathFileAccess && e.description().contains(t.dir.filePath("blocked"))) << e.what();
    }
    EXPECT_EQ(store.Read("settings", "catport", "0"), "0");
}

// A file grown to a hundred thousand keys used to freeze start-up for minutes.
TEST(IniSettingsStore, FileOfManyKeysIsReadInOnePass)
{
    TempSettings t;
    QByteArray text = "[midimap]\n";
    for (int i = 0; i < 100000; ++i)
        text += "K" + QByteArray::number(i) + "=v" + QByteArray::number(i) + "\n";
    ASSERT_TRUE(PutFileBytes(t.store.filePath(), text + "[settings]\ncatport=3\n"));
    EXPECT_EQ(t.store.Read("midimap", "k99999", ""), "v99999");
    t.store.Write("midimap", "e6441", "UP1;");
    EXPECT_EQ(IniSettingsStore(t.store.filePath()).Read("settings", "CATPORT", ""), "3");
}
