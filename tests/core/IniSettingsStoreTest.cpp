#include "core/IniSettingsStore.h"
#include "core/VbError.h"
#include "support/ErrorNumberOf.h"
#include "support/TempSettings.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

TEST(IniSettingsStore, EveryTextComesBackAsWrittenAndMissingKeysGiveTheDefault)
{
    const QStringList values = {
        "",          " lead",          "trail ",        "  both  ",     "a,b,c",
        "x;y",       "#UP10",          "a=b=c",         "\"quoted\"",   "'single'",
        "back\\slash", "\\",           "ends with \\",  "Grüße 73 ÄÖÜ", "日本",
        "tab\there", "line\nbreak",    "cr\rhere",      "; leading semicolon", "[section]",
        "\"",        "\" unbalanced",  "=",             "   ",          "PC 50;",
    };
    TempSettings t;
    EXPECT_EQ(t.store.Read("settings", "rigtype", "flex"), "flex");
    EXPECT_FALSE(QFileInfo::exists(t.store.filePath()));
    for (int i = 0; i < values.size(); ++i)
        t.store.Write("midimap", QString("k%1").arg(i), values[i]);
    IniSettingsStore again(t.store.filePath());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.Read("midimap", QString("K%1").arg(i), "DEFAULT"), values[i]) << i;
    EXPECT_EQ(again.Read("MIDIMAP", "k0", "DEFAULT"), "");
    EXPECT_EQ(again.Read("settings", "k1", "DEFAULT"), "DEFAULT");
}

// Neither a place that cannot be written nor a file that cannot be read loses
// a setting: the write fails with error 75 naming the file, nothing is replaced.
TEST(IniSettingsStore, FailingWritesAreReportedAndLoseNothing)
{
    TempSettings t;
    WriteFile(t.dir.filePath("blocked"), "a file where a folder must be");
    for (const QString& path : {t.dir.filePath("blocked/vorn-midi-connector.ini"),
                                QStringLiteral("/proc/vmc-no-such-dir/settings.ini")}) {
        IniSettingsStore store(path);
        try {
            store.Write("settings", "catport", "4");
            ADD_FAILURE() << "the write did not fail: " << qPrintable(path);
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), VbError::kPathFileAccess);
            EXPECT_TRUE(e.description().contains(QFileInfo(path).path())) << qPrintable(e.description());
        }
        EXPECT_EQ(store.Read("settings", "catport", "0"), "0");
    }
}

TEST(IniSettingsStore, FileOfManyKeysIsReadInOnePass)
{
    // A file grown to a hundred thousand keys used to freeze start-up for minutes.
    constexpr int kKeys = 100000;
    TempSettings t;
    QByteArray text = "[midimap]\n";
    for (int i = 0; i < kKeys; ++i)
        text += "K" + QByteArray::number(i) + "=v" + QByteArray::number(i) + "\n";
    WriteFile(t.store.filePath(), text + "[settings]\ncatport=3\n");
    EXPECT_EQ(t.store.Read("midimap", "k99999", ""), "v99999");
    t.store.Write("midimap", "e6441", "UP1;");
    IniSettingsStore again(t.store.filePath());
    EXPECT_EQ(again.Read("midimap", "K50000", ""), "v50000");
    EXPECT_EQ(again.Read("settings", "CATPORT", ""), "3");
}
