// The ports under the CAT link and the simulator's end of the line: what a
// device the user may not open, an address that is none, and a line set
// otherwise than the radio's come to.
#include "cat/ComPortLine.h"
#include "core/NumberedError.h"
#include "support/FileBytes.h"
#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"
#include "support/RadioSimProcess.h"

#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <unistd.h>

namespace {

// What opening COM `comNumber` throws; empty when it opens.
QString OpenFailure(ICatLine& port, int comNumber)
{
    try { port.Open(comNumber); } catch (const NumberedError& e) { return e.description(); }
    return QString();
}

// File permissions as an ordinary user meets them, for root too (whose file
// access the kernel does not check): meanwhile this thread's file-system user
// is "nobody", which also takes the capability to override them.
struct OrdinaryFileUser {
    const bool root = ::geteuid() == 0;
    OrdinaryFileUser() { if (root) ::setfsuid(65534); }
    ~OrdinaryFileUser() { if (root) ::setfsuid(0); }
};

TEST(ComPortLine, DeviceTheUserMayNotOpenSaysWhatToDo)
{
    QTemporaryDir dir;
    const QString device = dir.filePath("ttyUSB0");
    ASSERT_TRUE(PutFileBytes(device, "") && QFile::setPermissions(device, QFileDevice::Permissions()));
    MemorySettingsStore settings;
    settings.Write("ports", "com4", device);
    ComPortLine port(settings);
    const QString failure = [&] { OrdinaryFileUser user; return OpenFailure(port, 4); }();
    EXPECT_TRUE(failure.startsWith("Cannot open serial port COM4 (" + device + "): ") && failure.contains("\"dialout\""))
        << failure.toStdString();
    EXPECT_FALSE(port.IsOpen());

    // A device that is simply missing is no matter of groups.
    settings.Write("ports", "com4", dir.filePath("ttyUSB9"));
    const QString missing = OpenFailure(port, 4);
    EXPECT_TRUE(!missing.isEmpty() && !missing.contains("dialout")) << missing.toStdString();
}

TEST(ComPortLine, NetworkAddressThatIsNoneIsRefusedWithTheForm)
{
    MemorySettingsStore settings;
    ComPortLine port(settings);
    for (const char* address : {"tcp://", "tcp://radio", "tcp://radio:0", "tcp://radio:70000",
                                "tcp://radio:9200/cat", "tcp://user@radio:9200", "tcp://radio:x"}) {
        settings.Write("ports", "com2", address);
        const QString failure = OpenFailure(port, 2);
        EXPECT_TRUE(failure.contains("no network address") && failure.contains("tcp://host:port") && !port.IsOpen()
                    && !port.IsOpening()) << address << failure.toStdString();
    }
}

// The simulator answers only a line set like the radio's (38400 baud, 8N1, no
// flow control), so a program that sets its port wrongly fails instead of
// passing by luck. (A pseudo-terminal always carries 8 data bits without
// parity, whatever the program asks.)
TEST(RadioSimLine, RefusesEveryOtherLineSetting)
{
    RadioSimProcess radio;
    ASSERT_TRUE(radio.Start()) << radio.ErrorString().toStdString();
    using P = QSerialPort;
    const struct { qint32 baud; P::StopBits stopBits; P::FlowControl flow; bool taken; } lines[] = {
        {9600, P::OneStop, P::NoFlowControl, false}, {38400, P::TwoStop, P::NoFlowControl, false},
        {38400, P::OneStop, P::HardwareControl, false}, {38400, P::OneStop, P::SoftwareControl, false},
        {38400, P::OneStop, P::NoFlowControl, true}};
    for (const auto& setting : lines) {
        SCOPED_TRACE(testing::Message() << setting.baud << " baud, stop bits " << setting.stopBits << ", flow " << setting.flow);
        QSerialPort line(radio.PtyPath());
        line.setBaudRate(setting.baud);
        line.setStopBits(setting.stopBits);
        line.setFlowControl(setting.flow);
        ASSERT_TRUE(line.open(QIODevice::ReadWrite)) << line.errorString().toStdString();
        line.write("FA;");  // a query: the radio answers every one it takes
        EXPECT_EQ(line.waitForReadyRead(500), setting.taken);
    }
}

} // namespace
