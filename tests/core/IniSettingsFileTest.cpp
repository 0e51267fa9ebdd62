// The settings file as operators edit it by hand, and as several running
// copies of the program share it: a write changes its one value and nothing
// else, and no copy loses what another wrote.
#include "core/IniSettingsStore.h"
#include "core/SettingsBatch.h"
#include "core/NumberedError.h"
#include "support/FileBytes.h"
#include "support/QtPrinters.h"
#include "support/TempSettings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(IniSettingsFile, OneWriteChangesOnlyItsValue)
{
    const struct { const char* name; QByteArray before; const char *section, *key, *value; QByteArray after; } cases[] = {
        {"comments, blank lines", "; my rig\n[settings]\n# COM3\ncatport=\"3\"\n\n; end\n", "settings", "polltime", "500",
         "; my rig\n[settings]\n# COM3\ncatport=\"3\"\npolltime=\"500\"\n\n; end\n"},
        {"other letter case", "[Settings]\nCatPort =  \"3\"  ; by hand\n", "settings", "catport", "4",
         "[Settings]\nCatPort =  \"4\"  ; by hand\n"},
        {"held already", "[settings]\ncatport = 3\n", "settings", "catport", "3", "[settings]\ncatport = 3\n"},
        {"keys before sections", "catport=9\n[settings]\nrigtype=flex\n", "settings", "catport", "3",
         "catport=9\n[settings]\nrigtype=flex\ncatport=\"3\"\n"},
        {"section comment, empty value", "[settings] ; mine\ncatport=\n", "settings", "catport", "4", "[settings] ; mine\ncatport=\"4\"\n"},
        {"CRLF, new section", "[settings]\r\ncatport=3\r\n", "updater", "url", "http://x",
         "[settings]\r\ncatport=3\r\n\r\n[updater]\r\nurl=\"http://x\"\r\n"},
        {"BOM", "\xEF\xBB\xBF[settings]\ncatport=3\n", "settings", "catport", "4", "\xEF\xBB\xBF[settings]\ncatport=\"4\"\n"},
        {"unreadable lines", "[settings]\ngarbage\n=novalue\nbad=\xff\xfe\n[ports\n", "settings", "bad", "ok",
         "[settings]\ngarbage\n=novalue\nbad=\"ok\"\n[ports\n"},
        {"a line without a key", "[settings]\nbad=1\n=novalue\n[ports]\n", "settings", "polltime", "500",
         "[settings]\nbad=1\npolltime=\"500\"\n=novalue\n[ports]\n"},
        {"no last line end", "[settings]\ncatport=3", "settings", "rigtype", "flex",
         "[settings]\ncatport=3\nrigtype=\"flex\"\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempSettings t;
        ASSERT_TRUE(PutFileBytes(t.store.filePath(), c.before));
        t.store.Write(c.section, c.key, c.value);
        EXPECT_EQ(FileBytes(t.store.filePath()), c.after);
        EXPECT_EQ(IniSettingsStore(t.store.filePath()).Read(c.section, c.key, ""), c.value);
    }
}

// Two other copies and this one write keys of their own at the same time.
TEST(IniSettingsFile, RunningCopiesLoseNoneOfEachOthersKeys)
{
    constexpr int kEach = 40;
    TempSettings t;
    QProcess copies[2];
    for (int i = 0; i < 2; ++i)
        copies[i].start(VMC_SETTINGS_COPY, {t.store.filePath(), QString("copy%1_").arg(i), QString::number(kEach)});
    for (int i = 1; i <= kEach; ++i)
        t.store.Write("settings", QString("self_%1").arg(i), QString::number(i));
    for (QProcess& copy : copies)
        ASSERT_TRUE(copy.waitForFinished(60000) && copy.exitCode() == 0);

    IniSettingsStore reread(t.store.filePath());
    for (const QString prefix : {"self_", "copy0_", "copy1_"})
        for (int i = 1; i <= kEach; ++i)
            EXPECT_EQ(reread.Read("settings", prefix + QString::number(i), "lost"), QString::number(i));
}

// A write while another copy holds the lock longer than the wait is kept
// (and read back), a second one then fails, and both reach the file with the
// next write once the lock is free.
TEST(IniSettingsFile, WritesWhileAnotherCopyHoldsTheLockAreKeptNotLost)
{
    TempSettings t;
    QProcess holder;
    holder.start(VMC_SETTINGS_COPY, {t.store.filePath(), "hold-lock"});
    ASSERT_TRUE(holder.waitForReadyRead(60000) && holder.readLine() == "locked\n");
    IniSettingsStore store(t.store.filePath(), 50);
    store.Write("settings", "catport", "5");
    EXPECT_TRUE(store.HasPending());
    EXPECT_EQ(store.Read("settings", "catport", ""), "5");
    EXPECT_THROW(store.Write("settings", "polltime", "500"), NumberedError);
    holder.write("\n");
    ASSERT_TRUE(holder.waitForFinished(60000) && holder.exitCode() == 0);
    store.Write("settings", "rigtype", "flex");
    IniSettingsStore reread(t.store.filePath());
    for (const auto& [key, value] : {std::pair{"catport", "5"}, {"polltime", "500"}, {"rigtype", "flex"}})
        EXPECT_EQ(reread.Read("settings", key, "lost"), value) << key;
}

TEST(IniSettingsFile, LockLeftByACopyThatDiedIsTakenOver)
{
    TempSettings t;
    QProcess::execute(VMC_SETTINGS_COPY, {t.store.filePath(), "die-locked"});
    ASSERT_TRUE(QFileInfo::exists(t.store.lockFilePath()));
    t.store.Write("settings", "catport", "5");
    EXPECT_EQ(IniSettingsStore(t.store.filePath()).Read("settings", "catport", ""), "5");
    EXPECT_FALSE(QFileInfo::exists(t.store.lockFilePath()));
}

// A first start writes every setting and map entry back: one write at the
// end, on top of what another copy wrote meanwhile.
TEST(IniSettingsFile, BatchReachesTheFileAsOneWrite)
{
    TempSettings t;
    const QByteArray text = "# mine\n[midimap]\ne6441=UP1;\n";
    ASSERT_TRUE(PutFileBytes(t.store.filePath(), text));
    SettingsBatch batch(t.store);
    for (int i = 0; i < 130; ++i)
        t.store.Write("midimap", QString("k%1").arg(i), QString::number(i));
    EXPECT_EQ(FileBytes(t.store.filePath()), text);
    QProcess::execute(VMC_SETTINGS_COPY, {t.store.filePath(), "other", "1"});
    // The batch reads its own writes, also when the file has changed meanwhile.
    EXPECT_EQ(t.store.Read("midimap", "k129", ""), "129");
    batch.Commit();
    EXPECT_TRUE(FileBytes(t.store.filePath()).startsWith(text + "k0=\"0\"\n"));
    IniSettingsStore reread(t.store.filePath());
    EXPECT_EQ(reread.Read("midimap", "k129", ""), "129");
    EXPECT_EQ(reread.Read("settings", "other1", ""), "1");
}

// A path that is no regular file, or whose lock is in a folder's way, gives
// every default and refuses writes at once; one reached through a link shares
// the lock of the file it leads to and writes that file.
TEST(IniSettingsFile, PathsThatAreNoFileAndLinks)
{
    TempSettings t;
    ASSERT_TRUE(QDir().mkpath(t.dir.filePath("folder.ini")));
    ASSERT_TRUE(QDir().mkpath(t.store.lockFilePath()));
    const QString pipe = t.dir.filePath("pipe.ini");  // opened, it would wait for a writer
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    const QString huge = t.dir.filePath("huge.ini");
    ASSERT_TRUE(PutFileBytes(huge, "") && QFile(huge).resize(IniSettingsStore::kMaxFileBytes + 1));
    const struct { QString path, why; } cases[] = {
        {pipe, "cannot be read (it is not a regular file)"},
        {huge, "cannot be read (it is larger than 16 MiB)"},
        {t.dir.filePath("folder.ini"), "cannot be read (it is a folder, not a file)"},
        {t.store.filePath(), "its lock file " + t.store.lockFilePath() + " cannot be created"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        IniSettingsStore store(c.path);
        EXPECT_EQ(store.Read("settings", "catport", "0"), "0");
        QElapsedTimer clock;
        clock.start();
        try {
            store.Write("settings", "catport", "3");
            ADD_FAILURE() << "written";
        } catch (const NumberedError& e) {
            EXPECT_TRUE(e.description().contains(c.why)) << e.description().toStdString();
        }
        EXPECT_LT(clock.elapsed(), IniSettingsStore::kLockWaitMs / 2) << "the write waited";
    }

    ASSERT_TRUE(QDir(t.store.lockFilePath()).removeRecursively());
    const QString link = t.dir.filePath("link.ini");
    ASSERT_TRUE(QFile::link(t.store.filePath(), link));
    IniSettingsStore linked(link);
    linked.Write("settings", "catport", "4");
    EXPECT_EQ(linked.lockFilePath(), t.store.lockFilePath());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(IniSettingsStore(t.store.filePath()).Read("settings", "catport", ""), "4");
}
