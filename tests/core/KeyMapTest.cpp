#include "core/KeyMap.h"
#include "core/VbError.h"
#include "support/ErrorNumberOf.h"
#include "support/TempSettings.h"

#include <QSet>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct DefaultRow {
    const char* suffix;
    const char* elecraft;
    const char* flex;
};

// The default maps as the product documents them, in the editors' order.
const DefaultRow kDefaults[] = {
        {"6441", "UP1;", "#UP10"},
        {"6442", "UP2;", "#UP20"},
        {"6443", "UP3;", "#UP50"},
        {"6444", "UP8;", "#UP100"},
        {"6445", "UP9;", "#UP200"},
        {"6446", "UP4;", "#UP1000"},
        {"6447", "UP5;", "#UP2000"},
        {"6448", "UP6;", "#UP2000"},
        {"6449", "UP7;", "#UP3000"},
        {"644a", "UP7;", "#UP3000"},
        {"644b", "UP7;", "#UP5000"},
        {"644c", "UP7;", "#UP5000"},
        {"643f", "DN1;", "#DN10"},
        {"643e", "DN2;", "#DN20"},
        {"643d", "DN3;", "#DN50"},
        {"643c", "DN8;", "#DN100"},
        {"643b", "DN9;", "#DN200"},
        {"643a", "DN4;", "#DN1000"},
        {"6439", "DN5;", "#DN2000"},
        {"6438", "DN6;", "#DN2000"},
        {"6437", "DN7;", "#DN3000"},
        {"6436", "DN7;", "#DN3000"},
        {"6435", "DN7;", "#DN5000"},
        {"6434", "DN7;", "#DN5000"},
        {"6641", "#UP10", "#UP10"},
        {"6642", "#UP20", "#UP20"},
        {"6643", "#UP50", "#UP50"},
        {"6644", "#UP100", "#UP100"},
        {"6645", "#UP200", "#UP200"},
        {"6646", "#UP1000", "#UP1000"},
        {"6647", "#UP2000", "#UP2000"},
        {"6648", "#UP2000", "#UP2000"},
        {"6649", "#UP3000", "#UP3000"},
        {"664a", "#UP3000", "#UP3000"},
        {"664b", "#UP5000", "#UP5000"},
        {"664c", "#UP5000", "#UP5000"},
        {"663f", "#DN10", "#DN10"},
        {"663e", "#DN20", "#DN20"},
        {"663d", "#DN50", "#DN50"},
        {"663c", "#DN100", "#DN100"},
        {"663b", "#DN200", "#DN200"},
        {"663a", "#DN1000", "#DN1000"},
        {"6639", "#DN2000", "#DN2000"},
        {"6638", "#DN2000", "#DN2000"},
        {"6637", "#DN3000", "#DN3000"},
        {"6636", "#DN3000", "#DN3000"},
        {"6635", "#DN5000", "#DN5000"},
        {"6634", "#DN5000", "#DN5000"},
        {"017f", "SWT10;", "FT1;"},
        {"027f", "SWT18;", "RT1;"},
        {"037f", "SWT11;", "RC;"},
        {"047f", "SWT13;", "#A/B"},
        {"057f", "SWH13;", "NB1;"},
        {"067f", "SWT25;", "#MUP"},
        {"0b7f", "SWT33;", "FT0;"},
        {"0c7f", "SWT34;", "RT0;"},
        {"0d7f", "", ""},
        {"0e7f", "", "#A>B"},
        {"0f7f", "", "NB0;"},
        {"107f", "", ""},
        {"km2sldb", "", "#TXPWR"},
        {"km3sldb", "", "#CWSPD"},
};

// Fails on the n-th access (reads and writes counted together) and records writes.
class FailingStore : public ISettingsStore {
public:
    explicit FailingStore(int failAt) : failAt_(failAt) {}
    QString Read(const QString&, const QString& key, const QString& defaultValue) const override
    {
        Count();
        return key == QStringLiteral("e6443") ? QStringLiteral("stored") : defaultValue;
    }
    void Write(const QString&, const QString& key, const QString& value) override
    {
        Count();
        written.insert(key, value);
    }
    QHash<QString, QString> written;

private:
    void Count() const
    {
        if (++calls_ == failAt_)
            throw VbError::FileAccess(QStringLiteral("disk full"));
    }
    int failAt_;
    mutable int calls_ = 0;
};

} // namespace

TEST(KeyMap, FirstLoadGivesEveryDefaultAndStoresIt)
{
    ASSERT_EQ(std::size(kDefaults), 62u);
    TempSettings t;
    KeyMap map;
    EXPECT_FALSE(map.IsLoaded());
    map.Load(t.store);
    EXPECT_TRUE(map.IsLoaded());
    IniSettingsStore reread(t.store.filePath());
    for (const DefaultRow& row : kDefaults) {
        const QString e = QStringLiteral("e") + row.suffix;
        const QString f = QStringLiteral("f") + row.suffix;
        EXPECT_EQ(map.Read(e), row.elecraft) << row.suffix;
        EXPECT_EQ(map.Read(f), row.flex) << row.suffix;
        EXPECT_EQ(reread.Read("midimap", e, "MISSING"), row.elecraft) << row.suffix;
        EXPECT_EQ(reread.Read("midimap", f, "MISSING"), row.flex) << row.suffix;
    }
}

TEST(KeyMap, NamesAreTheFullTableInLoadOrder)
{
    const QStringList& names = KeyMap::Names();
    ASSERT_EQ(names.size(), KeyMap::kEntryCount);
    EXPECT_EQ(names.first(), "e6441");
    EXPECT_EQ(names[24], "ekm2sldb");
    EXPECT_EQ(names[38], "e6634");
    EXPECT_EQ(names[61], "e664c");
    EXPECT_EQ(names[62], "f6441");
    EXPECT_EQ(names.last(), "f664c");
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), KeyMap::kEntryCount);
    EXPECT_EQ(KeyMap::Suffixes()[38].label, "Mode 1 Wheel A Dn speed 12");
    int empties = 0;
    for (const KeyMap::KeyDef& def : KeyMap::Suffixes())
        empties += def.elecraftDefault.isEmpty() + def.flexDefault.isEmpty();
    EXPECT_EQ(empties, 8);
}

TEST(KeyMap, LookupIgnoresLetterCaseAndFailsOnlyForUnknownNames)
{
    KeyMap map;
    map.Write("E644A", "UP7;");
    EXPECT_EQ(map.Read("e644a"), "UP7;");
    EXPECT_EQ(map.Read("e644A"), "UP7;");
    map.Write("fKM2SLDB", "#TXPWR");
    EXPECT_EQ(map.Read("FKM2sldb"), "#TXPWR");

    EXPECT_EQ(map.Read("e0d7f"), "");
    for (const char* unknown : {"e6440", "e0a7f", "x6441", "6441", "", "e64411", "ekm4sldb"}) {
        EXPECT_EQ(ErrorNumberOf([&] { map.Read(unknown); }), VbError::kObjectNotFound) << unknown;
        EXPECT_EQ(ErrorNumberOf([&] { map.Write(unknown, "x"); }), VbError::kObjectNotFound)
            << unknown;
    }
}

TEST(KeyMap, StoredTextsWinOverDefaultsExactly)
{
    TempSettings t;
    t.store.Write("midimap", "f6441", "");
    t.store.Write("midimap", "e017f", "  swt10; lower ");
    t.store.Write("midimap", "F047F", "?;#=\"x\"");
    KeyMap map;
    map.Load(t.store);
    EXPECT_EQ(map.Read("f6441"), "");
    EXPECT_EQ(map.Read("e017f"), "  swt10; lower ");
    EXPECT_EQ(map.Read("f047f"), "?;#=\"x\"");
    EXPECT_EQ(IniSettingsStore(t.store.filePath()).Read("midimap", "f6441", "MISSING"), "");
}

TEST(KeyMap, ReadFailurePartWayKeepsEarlierEntriesAndEmptiesTheRest)
{
    // Each key costs one read and one write; fail on the read of the first Flex key.
    FailingStore store(2 * 62 + 1);
    KeyMap map;
    for (const QString& name : KeyMap::Names())
        map.Write(name, "stale");
    EXPECT_EQ(ErrorNumberOf([&] { map.Load(store); }), VbError::kPathFileAccess);
    EXPECT_FALSE(map.IsLoaded());
    const QStringList& names = KeyMap::Names();
    EXPECT_EQ(map.Read("e6443"), "stored");
    for (int i = 0; i < names.size(); ++i) {
        if (i < 62)
            EXPECT_EQ(map.Read(names[i]), store.written.value(names[i])) << qPrintable(names[i]);
        else
            EXPECT_EQ(map.Read(names[i]), "") << qPrintable(names[i]);
    }
}

TEST(KeyMap, WriteBackFailureStillFillsEveryEntryAndIsThrownOnce)
{
    // Fails on the write of the fourth key (e6444); later write-backs are not tried.
    FailingStore store(8);
    KeyMap map;
    EXPECT_EQ(ErrorNumberOf([&] { map.Load(store); }), VbError::kPathFileAccess);
    EXPECT_TRUE(map.IsLoaded());
    EXPECT_EQ(map.Read("e6443"), "stored");
    EXPECT_EQ(map.Read("e6444"), "UP8;");
    EXPECT_EQ(map.Read("f664c"), "#UP5000");
    EXPECT_EQ(store.written.size(), 3);
}
