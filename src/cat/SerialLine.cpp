#include "cat/SerialLine.h"

#include "cat/PortAddress.h"
#include "core/NumberedError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
// True when the operating system keeps the user from the device itself (as
// opposed to another program holding it).
bool AccessDenied(const QString& device)
{
    return ::faccessat(AT_FDCWD, device.toLocal8Bit().constData(), R_OK | W_OK, AT_EACCESS) != 0
           && errno == EACCES;
}
}

SerialLine::SerialLine(const ISettingsStore& settings) : settings_(settings)
{
    QObject::connect(&port_, &QSerialPort::errorOccurred, Events(),
                     [this](QSerialPort::SerialPortError error) { OnPortError(error); });
}

SerialLine::~SerialLine()
{
    Close();
}

qint64 SerialLine::NanosecondsPerByte() const
{
    // A start bit, eight data bits and a stop bit.
    constexpr qint64 kBitsPerByte = 10;
    return kBitsPerByte * 1000000000 / port_.baudRate();
}

qint64 SerialLine::QueuedBytes() const
{
    qint64 queued = port_.bytesToWrite();
    // What the driver still holds; a pseudo-terminal always says 0.
    int driver = 0;
    if (port_.isOpen() && ::ioctl(port_.handle(), TIOCOUTQ, &driver) == 0)
        queued += driver;
    return queued;
}

QString SerialLine::Describe() const
{
    return QStringLiteral("serial port COM%1 (%2)").arg(comNumber_).arg(device_);
}

void SerialLine::OnPortError(QSerialPort::SerialPortError error)
{
    // An unplugged adapter or a vanished terminal reports its failure again
    // at every turn of the event loop, keeping the program busy for nothing:
    // the device is let go at once.
    const bool deviceGone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                            error == QSerialPort::WriteError;
    if (deviceGone && port_.isOpen())
        Lose(port_.errorString());
}

void SerialLine::Open(int comNumber)
{
    Close();
    comNumber_ = comNumber;
    device_ = PortAddress::For(settings_, comNumber);
    port_.setPortName(device_);
    port_.setBaudRate(QSerialPort::Baud38400);
    port_.setParity(QSerialPort::NoParity);
    port_.setDataBits(QSerialPort::Data8);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        const QString failure = OpenFailure(port_.error());
        port_.clearError();
        // Reads say why until the device opens.
        Fail(failure);
        throw NumberedError(NumberedError::kDeviceUnavailable, failure);
    }
    SwitchHandshakeLinesOff();
}

QString SerialLine::OpenFailure(QSerialPort::SerialPortError error) const
{
    const QString failure = QStringLiteral("Cannot open %1: %2").arg(Describe(), port_.errorString());
    if (error != QSerialPort::PermissionError || !AccessDenied(device_))
        return failure;
    return failure + QStringLiteral(
        ". Your user may not use serial devices: add it to the group \"dialout\" "
        "(sudo adduser $USER dialout), then log out and in again.");
}

void SerialLine::SwitchHandshakeLinesOff()
{
    // Pseudo-terminals and some adapters have no modem lines; the port works without them.
    port_.setRequestToSend(false);
    port_.setDataTerminalReady(false);
    port_.clearError();
}

void SerialLine::Close()
{
    if (port_.isOpen())
        port_.close();
    port_.clearError();
    ClearFailure();
}
