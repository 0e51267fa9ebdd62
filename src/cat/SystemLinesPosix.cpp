#include "cat/SystemLines.h"

#include "cat/SerialLine.h"

#include <QSerialPortInfo>

#include <linux/sockios.h>
#include <sys/ioctl.h>

std::unique_ptr<ICatLine> SystemLines::MakeSerialLine(const ISettingsStore& settings)
{
    return std::make_unique<SerialLine>(settings);
}

QStringList SystemLines::SerialPorts()
{
    QStringList ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports << info.systemLocation();
    return ports;
}

QString SystemLines::DefaultDevice(int comNumber)
{
    return QStringLiteral("/dev/ttyUSB%1").arg(comNumber - 1);
}

qint64 SystemLines::UnsentSocketBytes(qintptr socket)
{
    int unsent = 0;
    return socket >= 0 && ::ioctl(int(socket), SIOCOUTQ, &unsent) == 0 ? unsent : 0;
}
