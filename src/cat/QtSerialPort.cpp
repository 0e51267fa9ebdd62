#include "cat/QtSerialPort.h"

#include "core/ISettingsStore.h"
#include "core/VbError.h"

#include <QDeadlineTimer>
#include <QTimer>

namespace {
// A radio gone wild must not keep a read busy for ever; what is left stays
// in the operating system's buffer for the next read.
constexpr qint64 kMaxReadBytes = 64 * 1024;
}

QtSerialPort::QtSerialPort(const ISettingsStore& settings) : settings_(settings)
{
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { OnPortError(error); });
}

QtSerialPort::~QtSerialPort()
{
    Close();
}

QString QtSerialPort::DefaultDevice(int comNumber)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(comNumber);
#else
    return QStringLiteral("/dev/ttyUSB%1").arg(comNumber - 1);
#endif
}

QString QtSerialPort::DeviceFor(const ISettingsStore& settings, int comNumber)
{
    return settings.Read(Section(), KeyFor(comNumber), DefaultDevice(comNumber));
}

QString QtSerialPort::Describe() const
{
    return QStringLiteral("COM%1 (%2)").arg(comNumber_).arg(port_.portName());
}

bool QtSerialPort::IsOpen() const
{
    return port_.isOpen() && lostReason_.isEmpty();
}

void QtSerialPort::OnPortError(QSerialPort::SerialPortError error)
{
    // An unplugged adapter or a vanished terminal reports its failure again
    // at every turn of the event loop, keeping the program busy for nothing.
    // The device is let go at once; the next read or write reports why.
    const bool deviceGone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                            error == QSerialPort::WriteError;
    if (!deviceGone || !port_.isOpen() || !lostReason_.isEmpty())
        return;
    lostReason_ = port_.errorString();
    // Closed from the event loop, not from inside QSerialPort's own notification.
    QTimer::singleShot(0, &port_, [this] {
        if (!lostReason_.isEmpty() && port_.isOpen())
            port_.close();
    });
}

void QtSerialPort::Open(int comNumber)
{
    Close();
    comNumber_ = comNumber;
    port_.setPortName(DeviceFor(comNumber));
    port_.setBaudRate(QSerialPort::Baud38400);
    port_.setParity(QSerialPort::NoParity);
    port_.setDataBits(QSerialPort::Data8);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        const QString reason = port_.errorString();
        port_.clearError();
        throw VbError(VbError::kDeviceUnavailable,
                      QStringLiteral("Cannot open serial port %1: %2").arg(Describe(), reason));
    }
    SwitchHandshakeLinesOff();
}

void QtSerialPort::SwitchHandshakeLinesOff()
{
    // Pseudo-terminals and some adapters have no modem lines; the port works without them.
    port_.setRequestToSend(false);
    port_.setDataTerminalReady(false);
    port_.clearError();
}

void QtSerialPort::Close()
{
    if (port_.isOpen())
        port_.close();
    port_.clearError();
    lostReason_.clear();
}

void QtSerialPort::ThrowIfUnusable() const
{
    if (!lostReason_.isEmpty())
        throw VbError(VbError::kDeviceUnavailable,
                      QStringLiteral("Serial port %1 is gone: %2").arg(Describe(), lostReason_));
    if (!port_.isOpen())
        throw VbError(kPortNotOpen, QStringLiteral("Operation valid only when the port is open"));
}

void QtSerialPort::Write(const QByteArray& data)
{
    ThrowIfUnusable();
    if (port_.write(data) != data.size()) {
        const QString reason = port_.errorString();
        port_.clearError();
        throw VbError(VbError::kDeviceUnavailable,
                      QStringLiteral("Cannot write to serial port %1: %2").arg(Describe(), reason));
    }
    // The bytes must leave now: the poll reads the reply before the event loop runs again.
    port_.flush();
    ThrowIfUnusable();
}

void QtSerialPort::CollectWaitingBytes()
{
    // QSerialPort fills its buffer only from the event loop; the GUI thread may
    // have been busy or asleep since the radio answered, so ask the system directly.
    while (port_.bytesAvailable() < kMaxReadBytes && port_.waitForReadyRead(0)) {
    }
}

bool QtSerialPort::WaitForReply(int milliseconds)
{
    if (!port_.isOpen())
        return false;
    const QDeadlineTimer deadline(milliseconds);
    for (;;) {
        CollectWaitingBytes();
        if (port_.peek(port_.bytesAvailable()).contains(';'))
            return true;
        if (deadline.hasExpired())
            return false;
        port_.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
}

QByteArray QtSerialPort::ReadAll()
{
    ThrowIfUnusable();
    CollectWaitingBytes();
    const QByteArray data = port_.readAll();
    ThrowIfUnusable();
    return data;
}
