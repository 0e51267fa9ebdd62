#include "cat/Win32SerialLine.h"

#include "cat/PortAddress.h"
#include "core/NumberedError.h"

namespace {
constexpr int kBaud = 38400;
}

Win32SerialLine::Win32SerialLine(const ISettingsStore& settings) : settings_(settings)
{
    QObject::connect(&port_, &Win32SerialPort::failed, Events(), [this](const QString& reason) { Lose(reason); });
}

Win32SerialLine::~Win32SerialLine()
{
    Close();
}

qint64 Win32SerialLine::NanosecondsPerByte() const
{
    // A start bit, eight data bits and a stop bit.
    constexpr qint64 kBitsPerByte = 10;
    return kBitsPerByte * 1000000000 / kBaud;
}

qint64 Win32SerialLine::QueuedBytes() const
{
    return port_.bytesToWrite() + port_.DriverQueuedBytes();
}

QString Win32SerialLine::Describe() const
{
    return QStringLiteral("serial port COM%1 (%2)").arg(comNumber_).arg(device_);
}

void Win32SerialLine::Open(int comNumber)
{
    Close();
    comNumber_ = comNumber;
    device_ = PortAddress::For(settings_, comNumber).trimmed();
    if (!port_.Open(device_, kBaud)) {
        const QString failure = OpenFailure();
        // Reads say why until the port opens.
        Fail(failure);
        throw NumberedError(NumberedError::kDeviceUnavailable, failure);
    }
}

QString Win32SerialLine::OpenFailure() const
{
    const QString failure = QStringLiteral("Cannot open %1: %2").arg(Describe(), port_.errorString());
    switch (port_.systemError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return failure + QStringLiteral(". There is no such port on this computer: see which COM "
                                        "number the Device Manager gives the radio's cable");
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return failure + QStringLiteral(". Another program has the port open (a logger, the radio's "
                                        "own software): close it there, or share the radio through "
                                        "Options, Network Rig Control");
    default:
        return failure;
    }
}

void Win32SerialLine::Close()
{
    port_.close();
    ClearFailure();
}
