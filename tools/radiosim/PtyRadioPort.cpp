#include "PtyRadioPort.h"

#include <QFileInfo>
#include <QSocketNotifier>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
// The termios speed of a baud rate; B0 where termios has none.
speed_t SpeedOf(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

int BaudOf(speed_t speed)
{
    for (const int baud : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
        if (SpeedOf(baud) == speed)
            return baud;
    return 0;
}

constexpr int kDefaultBaud = 38400;
}

PtyRadioPort::PtyRadioPort(RadioModel& radio, const SimOptions& options, QObject* parent)
    : QObject(parent), options_(options), line_(radio, options, *this)
{
}

PtyRadioPort::~PtyRadioPort()
{
    if (!options_.linkPath.isEmpty() && QFileInfo(options_.linkPath).isSymLink())
        QFile::remove(options_.linkPath);
}

bool PtyRadioPort::Open(QString& error)
{
    if (!OpenTerminal(error) || !line_.Open(error))
        return false;
    if (!options_.linkPath.isEmpty()) {
        if (QFileInfo(options_.linkPath).isSymLink())
            QFile::remove(options_.linkPath);
        if (!QFile::link(slavePath_, options_.linkPath)) {
            error = QStringLiteral("Cannot make the link %1").arg(options_.linkPath);
            return false;
        }
    }
    readNotifier_ = new QSocketNotifier(master_.get(), QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PtyRadioPort::OnReadable);
    writeNotifier_ = new QSocketNotifier(master_.get(), QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &PtyRadioPort::WriteWire);
    return true;
}

bool PtyRadioPort::OpenTerminal(QString& error)
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        error = QStringLiteral("openpty failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    master_.Reset(master);
    // Holding the slave open keeps the master readable while no program has the port open.
    slave_.Reset(slave);
    slavePath_ = QString::fromLocal8Bit(name);
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    const speed_t speed = SpeedOf(options_.baud > 0 ? options_.baud : kDefaultBaud);
    if (speed != B0)
        ::cfsetspeed(&raw, speed);
    ::tcsetattr(slave, TCSANOW, &raw);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    return true;
}

QString PtyRadioPort::WrongLineSettings() const
{
    termios line{};
    if (::tcgetattr(slave_.get(), &line) != 0)
        return QString();
    // The radio runs at its --baud rate (38400 where that is 0, or where termios
    // has no such speed). Data bits and parity need no look: a pseudo-terminal
    // carries 8 data bits without parity whatever the program asks.
    const int wanted = SpeedOf(options_.baud) != B0 ? options_.baud : kDefaultBaud;
    QStringList wrong;
    if (BaudOf(::cfgetospeed(&line)) != wanted)
        wrong << QStringLiteral("%1 baud").arg(BaudOf(::cfgetospeed(&line)));
    if (line.c_cflag & CSTOPB)
        wrong << QStringLiteral("2 stop bits");
    if (line.c_cflag & CRTSCTS)
        wrong << QStringLiteral("RTS/CTS flow control");
    if (line.c_iflag & (IXON | IXOFF))
        wrong << QStringLiteral("XON/XOFF flow control");
    if (wrong.isEmpty())
        return QString();
    return wrong.join(QStringLiteral(", "))
           + QStringLiteral(" (the radio runs at %1 baud, 8N1, no flow control)").arg(wanted);
}

void PtyRadioPort::OnReadable()
{
    char buffer[4096];
    const ssize_t n = ::read(master_.get(), buffer, sizeof buffer);
    if (n > 0)
        line_.Receive(QByteArray(buffer, n));
}

void PtyRadioPort::Transmit(const QByteArray& bytes)
{
    wire_ += bytes;
    WriteWire();
}

void PtyRadioPort::WriteWire()
{
    while (!wire_.isEmpty()) {
        const ssize_t n = ::write(master_.get(), wire_.constData(), size_t(wire_.size()));
        if (n <= 0)
            break;
        wire_.remove(0, n);
    }
    if (writeNotifier_)
        writeNotifier_->setEnabled(!wire_.isEmpty());
}
