#include "core/KeyMap.h"
#include "core/NumberedError.h"
#include "support/ErrorNumberOf.h"
#include "support/MemorySettingsStore.h"
#include "support/TempSettings.h"

#include <QSet>
#include <gtest/gtest.h>

// A first load gives each rig type its own defaults and writes every entry to the file.
TEST(KeyMap, FirstLoadGivesTheDefaultsAndStoresEveryEntry)
{
    TempSettings t;
    KeyMap map;
    EXPECT_FALSE(map.IsLoaded());
    map.Load(t.store);
    EXPECT_TRUE(map.IsLoaded());
    for (const QString spot : {"e6441=UP1;", "f6441=#UP10", "e664c=#UP5000", "f047f=#A/B", "e0d7f=", "fkm3sldb=#CWSPD", "ekm2sldb="})
        EXPECT_EQ(map.Read(spot.section('=', 0, 0)), spot.section('=', 1)) << qPrintable(spot);
    const QStringList& names = KeyMap::Names();
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), KeyMap::kEntryCount);
    IniSettingsStore reread(t.store.filePath());
    for (const QString& name : names)
        EXPECT_EQ(reread.Read("midimap", name, "<missing>"), map.Read(name)) << qPrintable(name);
}

TEST(KeyMap, StoredTextsWinExactlyAndNamesIgnoreLetterCase)
{
    TempSettings t;
    t.store.Write("midimap", "f6441", "");
    t.store.Write("midimap", "e017f", "  swt10; lower ");
    t.store.Write("midimap", "F047F", "?;#=\"x\"");
    KeyMap map;
    map.Load(t.store);
    EXPECT_EQ(map.Read("F6441") + "|" + map.Read("e017F") + "|" + map.Read("f047f"), "|  swt10; lower |?;#=\"x\"");
    map.Write("fKM2SLDB", "#CWSPD");
    EXPECT_EQ(map.Read("fkm2sldb"), "#CWSPD");
    for (const char* unknown : {"e6440", "e0a7f", "x6441", "6441", "", "e64411", "ekm4sldb"}) {
        EXPECT_EQ(ErrorNumberOf([&] { map.Read(unknown); }), NumberedError::kObjectNotFound) << unknown;
        EXPECT_EQ(ErrorNumberOf([&] { map.Write(unknown, "x"); }), NumberedError::kObjectNotFound) << unknown;
    }
}

// A store that fails part-way must never leave the surface with a half-filled map.
TEST(KeyMap, FailingStoreLeavesNoStaleOrMissingEntry)
{
    // A read fails on the first Flex key: the Elecraft map stays, the rest is empty.
    MemorySettingsStore reading;
    reading.values.insert("midimap/e6443", "stored");
    reading.failAtRead = 63;
    KeyMap map;
    for (const QString& name : KeyMap::Names())
        map.Write(name, "stale");
    EXPECT_EQ(ErrorNumberOf([&] { map.Load(reading); }), NumberedError::kPathFileAccess);
    EXPECT_FALSE(map.IsLoaded());
    EXPECT_EQ(map.Read("e6443") + "|" + map.Read("e664c") + "|" + map.Read("f6441") + "|" + map.Read("f664c"), "stored|#UP5000||");

    // A write-back fails on the fourth key: every entry is filled all the same,
    // later write-backs are not tried, and the failure is thrown once.
    MemorySettingsStore writing;
    writing.failAtWrite = 4;
    KeyMap full;
    EXPECT_EQ(ErrorNumberOf([&] { full.Load(writing); }), NumberedError::kPathFileAccess);
    EXPECT_TRUE(full.IsLoaded());
    EXPECT_EQ(full.Read("e6444") + "|" + full.Read("f664c"), "UP8;|#UP5000");
    EXPECT_EQ(writing.writes.size(), 3);
}
