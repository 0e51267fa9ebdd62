#include "DeskRadio.h"
#include "cat/ComPortLine.h"
#include "cat/Win32SerialLine.h"
#include "core/KeyMap.h"
#include "core/NumberedError.h"
#include "dispatch/SurfaceDispatcher.h"
#include "support/CatRig.h"
#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"
#include "support/WaitFor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <qt_windows.h>

// The Windows serial line against the radio simulator of the Linux desk,
// which Wine's COM9 reaches (see desk_radio.py).
namespace {
const QByteArray kStatusStart = "IF00014060000";

// The replies the radio sends to `command` until one has ended, read as the poll reads them.
QByteArray Ask(ICatLine& line, const QByteArray& command)
{
    line.Write(command);
    QByteArray reply;
    WaitFor([&] {
        reply += line.ReadAll();
        return reply.contains(';');
    }, 5000);
    return reply;
}

NumberedError OpenFailure(ICatLine& line, int com)
{
    try {
        line.Open(com);
    } catch (const NumberedError& e) {
        return e;
    }
    return NumberedError(0, QString());
}

class Win32SerialLineTest : public ::testing::Test {
protected:
    void TearDown() override { DeskRadio::Stop(); }

    MemorySettingsStore settings;
};
} // namespace

TEST_F(Win32SerialLineTest, RepliesThatArriveInPiecesAreReadWhole)
{
    ASSERT_TRUE(DeskRadio::Start({"--split", "--seed", "3"}));
    Win32SerialLine line(settings);
    line.Open(DeskRadio::kCom);
    ASSERT_TRUE(line.IsOpen());
    for (int i = 0; i < 5; ++i) {
        const QByteArray reply = Ask(line, "IF;");
        EXPECT_EQ(reply.size(), 38) << reply.toStdString();
        EXPECT_TRUE(reply.startsWith(kStatusStart)) << reply.toStdString();
    }
}

// A COM number the computer does not have, and a port another program holds.
// Wine gives no program a COM port to itself, so the port held is a file the
// test holds as Windows holds a port: without sharing.
TEST_F(Win32SerialLineTest, APortMissingOrHeldElsewhereSaysWhy)
{
    QTemporaryDir folder;
    const QString held = QDir::toNativeSeparators(folder.filePath(QStringLiteral("held-port")));
    const HANDLE holder = CreateFileW(reinterpret_cast<LPCWSTR>(held.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    settings.values.insert(QStringLiteral("ports/com3"), QStringLiteral("COM42"));
    settings.values.insert(QStringLiteral("ports/com4"), QStringLiteral("\\\\?\\") + held);
    const struct {
        int com;
        const char* says;
    } rows[] = {
        {3, "Cannot open serial port COM3 (COM42): "},
        {3, "There is no such port on this computer"},
        {4, "Another program has the port open"},
    };
    for (const auto& row : rows) {
        Win32SerialLine line(settings);
        const NumberedError failure = OpenFailure(line, row.com);
        EXPECT_EQ(failure.number(), NumberedError::kDeviceUnavailable);
        EXPECT_TRUE(failure.description().contains(QLatin1String(row.says))) << failure.description().toStdString();
        EXPECT_FALSE(line.IsOpen());
        // Until it opens, a read says why too.
        EXPECT_THROW(line.ReadAll(), NumberedError);
    }
    CloseHandle(holder);
}

TEST_F(Win32SerialLineTest, ALineThatVanishesIsGoneUntilItOpensAgain)
{
    ASSERT_TRUE(DeskRadio::Start());
    Win32SerialLine line(settings);
    line.Open(DeskRadio::kCom);
    ASSERT_TRUE(Ask(line, "FA;").startsWith("FA00014060000;"));

    ASSERT_TRUE(DeskRadio::Stop());
    QString why;
    EXPECT_TRUE(WaitFor([&] {
        try {
            line.ReadAll();
        } catch (const NumberedError& e) {
            why = e.description();
        }
        return !line.IsOpen();
    }, 5000));
    EXPECT_TRUE(why.contains(QLatin1String("is gone"))) << why.toStdString();

    ASSERT_TRUE(DeskRadio::Start({"--freq-a", "00014074000"}));
    line.Open(DeskRadio::kCom);
    EXPECT_TRUE(Ask(line, "FA;").startsWith("FA00014074000;"));
}

// The program's own road on the Windows line: the poll finds the radio, and
// wheel clicks of the surface tune it.
TEST_F(Win32SerialLineTest, ThePollReachesTheRadioAndTheWheelTunesIt)
{
    ASSERT_TRUE(DeskRadio::Start());
    CatRig<ComPortLine> rig(settings);
    KeyMap keyMap;
    keyMap.Load(settings);
    SurfaceDispatcher dispatcher(keyMap, rig.options, rig.radio, rig.alerts, rig.log);
    rig.link.SelectPort(DeskRadio::kCom, rig.setMarks);
    rig.poll.SetInterval(100);
    rig.poll.Start();
    ASSERT_TRUE(WaitFor([&] { return rig.state().answering; }, 5000)) << rig.alerts.boxes.size();

    for (int click = 0; click < 3; ++click)
        dispatcher.Dispatch(MidiEvent::Short(0xB0, 0x64, 0x41));
    EXPECT_TRUE(WaitFor([&] {
        QFile log(DeskRadio::LogPath());
        return log.open(QIODevice::ReadOnly) && log.readAll().contains(" FA00014060030");
    }, 5000));
    EXPECT_TRUE(WaitFor([&] { return rig.state().vfoA == 14060030; }, 5000));
}
