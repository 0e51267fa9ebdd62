// The ports under the CAT link and the simulator's end of the line: what a
// device the user may not open, an address that is none, and a line set
// otherwise than the radio's come to.
#include "cat/CatPort.h"
#include "core/VbError.h"
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

QString OpenFailure(ISerialPort& port, int comNumber)
{
    try {
        port.Open(comNumber);
    } catch (const VbError& e) {
        return e.description();
    }
    return QString();
}

// File permissions as an ordinary user meets them, for root too (whose file
// access the kernel does not check): meanwhile this thread's file-system user
// is "nobody", which also takes the capability to override them.
class OrdinaryFileUser {
public:
    OrdinaryFileUser() : root_(::geteuid() == 0)
    {
        if (root_)
            ::setfsuid(65534);
    }
    ~OrdinaryFileUser()
    {
        if (root_)
            ::setfsuid(0);
    }

private:
    bool root_;
};

TEST(CatPort, DeviceTheUserMayNotOpenSaysWhatToDo)
{
    QTemporaryDir dir;
    const QString device = dir.filePath("ttyUSB0");
    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(file.setPermissions(QFileDevice::Permissions()));
    MemorySettingsStore settings;
    settings.Write("ports", "com4", device);
    CatPort port(settings);
    QString failure;
    {
        OrdinaryFileUser user;
        failure = OpenFailure(port, 4);
    }
    EXPECT_TRUE(failure.startsWith("Cannot open serial port COM4 (" + device + "): ")) << failure.toStdString();
    EXPECT_TRUE(failure.contains("\"dialout\"")) << failure.toStdString();
    EXPECT_FALSE(port.IsOpen());

    // A device that is simply missing is no matter of groups.
    settings.Write("ports", "com4", dir.filePath("ttyUSB9"));
    failure = OpenFailure(port, 4);
    EXPECT_FALSE(failure.isEmpty());
    EXPECT_FALSE(failure.contains("dialout")) << failure.toStdString();
}

TEST(CatPort, NetworkAddressThatIsNoneIsRefusedWithTheForm)
{
    MemorySettingsStore settings;
    CatPort port(settings);
    for (const char* address : {"tcp://", "tcp://radio", "tcp://radio:0", "tcp://radio:70000",
                                "tcp://radio:9200/cat", "tcp://user@radio:9200", "tcp://radio:x"}) {
        SCOPED_TRACE(address);
        settings.Write("ports", "com2", address);
        const QString failure = OpenFailure(port, 2);
        EXPECT_TRUE(failure.contains("no network address")) << failure.toStdString();
        EXPECT_TRUE(failure.contains("tcp://host:port")) << failure.toStdString();
        EXPECT_FALSE(port.IsOpen());
        EXPECT_FALSE(port.IsOpening());
    }
}

struct LineSetting {
    const char* name;
    std::function<void(QSerialPort&)> set;
    bool taken;
};

// The simulator answers only a line set like the radio's, so a program that
// sets its port wrongly fails instead of passing by luck. (A pseudo-terminal
// always carries 8 data bits without parity, whatever the program asks.)
TEST(RadioSimLine, RefusesEveryOtherLineSetting)
{
    RadioSimProcess radio;
    ASSERT_TRUE(radio.Start()) << radio.ErrorString().toStdString();
    const QList<LineSetting> settings = {
        {"9600 baud", [](QSerialPort& p) { p.setBaudRate(9600); }, false},
        {"2 stop bits", [](QSerialPort& p) { p.setStopBits(QSerialPort::TwoStop); }, false},
        {"RTS/CTS", [](QSerialPort& p) { p.setFlowControl(QSerialPort::HardwareControl); }, false},
        {"XON/XOFF", [](QSerialPort& p) { p.setFlowControl(QSerialPort::SoftwareControl); }, false},
        {"38400 8N1", [](QSerialPort&) {}, true},
    };
    for (const LineSetting& setting : settings) {
        SCOPED_TRACE(setting.name);
        QSerialPort line(radio.PtyPath());
        line.setBaudRate(38400);
        line.setDataBits(QSerialPort::Data8);
        line.setParity(QSerialPort::NoParity);
        line.setStopBits(QSerialPort::OneStop);
        line.setFlowControl(QSerialPort::NoFlowControl);
        setting.set(line);
        ASSERT_TRUE(line.open(QIODevice::ReadWrite)) << line.errorString().toStdString();
        const int before = radio.ReceivedCommands().size();
        line.write("FA;");
        EXPECT_EQ(line.waitForReadyRead(500), setting.taken);
        EXPECT_EQ(radio.ReceivedCommands().size(), before + (setting.taken ? 1 : 0));
    }
}

} // namespace
