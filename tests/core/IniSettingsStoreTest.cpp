#include "core/IniSettingsStore.h"
#include "core/VbError.h"
#include "support/TempSettings.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(IniSettingsStore, EmptyStoreGivesDefaults)
{
    TempSettings t;
    EXPECT_EQ(t.store.Read("settings", "catport", "0"), "0");
    EXPECT_EQ(t.store.Read("settings", "rigtype", "flex"), "flex");
    EXPECT_FALSE(QFileInfo::exists(t.store.filePath()));
}

TEST(IniSettingsStore, EmptyValueIsNotTheDefault)
{
    TempSettings t;
    t.store.Write("settings", "rigtype", "");
    EXPECT_EQ(t.store.Read("settings", "rigtype", "flex"), "");
    IniSettingsStore again(t.store.filePath());
    EXPECT_EQ(again.Read("settings", "rigtype", "flex"), "");
}

TEST(IniSettingsStore, ValuesRoundTripExactly)
{
    const QStringList values = {
        "",          " lead",          "trail ",        "  both  ",     "a,b,c",
        "x;y",       "#UP10",          "a=b=c",         "\"quoted\"",   "'single'",
        "back\\slash", "\\",           "ends with \\",  "Grüße 73 ÄÖÜ", "日本",
        "tab\there", "line\nbreak",    "cr\rhere",      "; leading semicolon", "[section]",
        "\"",        "\" unbalanced",  "=",             "   ",          "PC 50;",
    };
    TempSettings t;
    for (int i = 0; i < values.size(); ++i)
        t.store.Write("midimap", QString("k%1").arg(i), values[i]);
    IniSettingsStore again(t.store.filePath());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.Read("midimap", QString("k%1").arg(i), "DEFAULT"), values[i]) << i;
}

TEST(IniSettingsStore, SectionsAndKeysAreSeparateAndCaseInsensitive)
{
    TempSettings t;
    t.store.Write("settings", "FormTop", "120");
    t.store.Write("updater", "url", "https://x");
    EXPECT_EQ(t.store.Read("SETTINGS", "formtop", "0"), "120");
    EXPECT_EQ(t.store.Read("settings", "url", "none"), "none");
    t.store.Write("Settings", "FORMTOP", "240");
    IniSettingsStore again(t.store.filePath());
    EXPECT_EQ(again.Read("settings", "FormTop", "0"), "240");
}

TEST(IniSettingsStore, ReadsHandEditedFile)
{
    TempSettings t;
    QFile f(t.store.filePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("; my settings\n[settings]\r\ncatport = 3\r\nrigtype=elecraft, flex\n"
            "garbage line without equals\n=novalue\n[midimap]\ne6441=  UP1;  \n"
            "bad=\xff\xfe\n[ports]\ncom3=/dev/ttyUSB7\n");
    f.close();
    EXPECT_EQ(t.store.Read("settings", "catport", "0"), "3");
    EXPECT_EQ(t.store.Read("settings", "rigtype", ""), "elecraft, flex");
    EXPECT_EQ(t.store.Read("midimap", "e6441", ""), "UP1;");
    EXPECT_FALSE(t.store.Read("midimap", "bad", "").isEmpty());
    EXPECT_EQ(t.store.Read("ports", "com3", ""), "/dev/ttyUSB7");
    // A write keeps everything else that was readable.
    t.store.Write("settings", "polltime", "500");
    IniSettingsStore again(t.store.filePath());
    EXPECT_EQ(again.Read("settings", "catport", "0"), "3");
    EXPECT_EQ(again.Read("ports", "com3", ""), "/dev/ttyUSB7");
    EXPECT_EQ(again.Read("settings", "polltime", ""), "500");
}

TEST(IniSettingsStore, SeesChangesMadeByAnotherWriter)
{
    TempSettings t;
    t.store.Write("settings", "catport", "1");
    IniSettingsStore other(t.store.filePath());
    other.Write("settings", "catport", "12");
    EXPECT_EQ(t.store.Read("settings", "catport", "0"), "12");
}

TEST(IniSettingsStore, FailingWriteIsReportedAndLosesNothing)
{
    TempSettings t;
    t.store.Write("settings", "catport", "3");
    // Put a plain file where the store's file must go: no write can succeed,
    // not even as root.
    const QString blocked = t.dir.path() + "/blocked";
    QFile f(blocked);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    IniSettingsStore store(blocked + "/vorn-midi-connector.ini");
    EXPECT_THROW(store.Write("settings", "catport", "4"), VbError);
    EXPECT_EQ(store.Read("settings", "catport", "0"), "0");
    EXPECT_EQ(t.store.Read("settings", "catport", "0"), "3");
}

TEST(IniSettingsStore, WriteIntoMissingUnwritablePlaceThrows)
{
    IniSettingsStore store("/proc/vmc-no-such-dir/settings.ini");
    try {
        store.Write("settings", "catport", "1");
        FAIL() << "write did not fail";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), VbError::kPathFileAccess);
        EXPECT_TRUE(e.description().contains("/proc/vmc-no-such-dir"));
    }
    EXPECT_EQ(store.Read("settings", "catport", "0"), "0");
}

TEST(IniSettingsStore, FileOfManyKeysIsReadWhole)
{
    // A settings file grown to a hundred thousand keys (a script gone wrong, a
    // file pasted together) is read in one pass; looking each key up by a scan
    // of all the others used to freeze start-up for minutes.
    constexpr int kKeys = 100000;
    TempSettings t;
    QByteArray text = "[midimap]\n";
    for (int i = 0; i < kKeys; ++i)
        text += "K" + QByteArray::number(i) + "=v" + QByteArray::number(i) + "\n";
    text += "[settings]\ncatport=3\n";
    QFile f(t.store.filePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();

    EXPECT_EQ(t.store.Read("settings", "catport", "0"), "3");
    for (int i : {0, 1, kKeys / 2, kKeys - 1})
        EXPECT_EQ(t.store.Read("midimap", QString("k%1").arg(i), ""), QString("v%1").arg(i));
    t.store.Write("midimap", "e6441", "UP1;");
    IniSettingsStore again(t.store.filePath());
    EXPECT_EQ(again.Read("midimap", "K99999", ""), "v99999");
    EXPECT_EQ(again.Read("midimap", "e6441", ""), "UP1;");
    EXPECT_EQ(again.Read("settings", "CATPORT", ""), "3");
}
