#include "PtyRadioPort.h"

#include "RadioModel.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
// Input without any ";" beyond this is noise, not a command on its way.
constexpr int kMaxCommandBytes = 4096;
constexpr qint64 kNsPerMs = 1000000;
}

PtyRadioPort::PtyRadioPort(RadioModel& radio, const SimOptions& options, QObject* parent)
    : QObject(parent), radio_(radio), options_(options), random_(options.seed)
{
    charNs_ = options_.baud > 0 ? 10LL * 1000000000LL / options_.baud : 0;
    clock_.start();
    pumpTimer_.setSingleShot(true);
    pumpTimer_.setTimerType(Qt::PreciseTimer);
    connect(&pumpTimer_, &QTimer::timeout, this, &PtyRadioPort::Pump);
    floodTimer_.setInterval(1);
    connect(&floodTimer_, &QTimer::timeout, this, &PtyRadioPort::FloodTick);
}

PtyRadioPort::~PtyRadioPort()
{
    if (!options_.linkPath.isEmpty() && QFileInfo(options_.linkPath).isSymLink())
        QFile::remove(options_.linkPath);
}

bool PtyRadioPort::Open(QString& error)
{
    if (!OpenTerminal(error))
        return false;
    if (!options_.logPath.isEmpty()) {
        log_.setFileName(options_.logPath);
        if (!log_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            error = QStringLiteral("Cannot write the log %1: %2").arg(options_.logPath, log_.errorString());
            return false;
        }
    }
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
    if (options_.flood)
        floodTimer_.start();
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
    ::tcsetattr(slave, TCSANOW, &raw);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    return true;
}

void PtyRadioPort::OnReadable()
{
    char buffer[4096];
    const ssize_t n = ::read(master_.get(), buffer, sizeof buffer);
    if (n <= 0)
        return;
    input_.append(buffer, n);
    TakeCommands();
}

void PtyRadioPort::TakeCommands()
{
    qsizetype end;
    while ((end = input_.indexOf(';')) >= 0) {
        QByteArray command = input_.left(end);
        input_.remove(0, end + 1);
        while (!command.isEmpty() && (command[0] == '\r' || command[0] == '\n'))
            command.remove(0, 1);
        Log(command);
        const QByteArray reply = radio_.Execute(command);
        if (!options_.silent && !reply.isEmpty())
            QueueReply(reply);
    }
    if (input_.size() > kMaxCommandBytes)
        input_.clear();
}

void PtyRadioPort::Log(const QByteArray& command)
{
    if (!log_.isOpen())
        return;
    log_.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' ' + command + '\n');
    log_.flush();
}

QByteArray PtyRadioPort::Noise()
{
    QByteArray noise;
    const int length = int(random_.bounded(1, 9));
    while (noise.size() < length) {
        const char c = char(random_.bounded(256));
        if (c != ';')
            noise += c;
    }
    return noise;
}

void PtyRadioPort::QueueReply(const QByteArray& reply)
{
    const QByteArray data = options_.garbage ? Noise() + reply : reply;
    const qint64 readyAt = NowNs() + options_.latencyMs * kNsPerMs;
    if (options_.split && data.size() > 1) {
        const int cut = int(random_.bounded(1, int(data.size())));
        const qint64 gap = random_.bounded(2, 13) * kNsPerMs;
        queue_.push_back(Segment{data.left(cut), readyAt, 0});
        queue_.push_back(Segment{data.mid(cut), readyAt, gap});
    } else {
        queue_.push_back(Segment{data, readyAt, 0});
    }
    Pump();
}

void PtyRadioPort::Pump()
{
    const qint64 now = NowNs();
    while (!queue_.empty()) {
        Segment& segment = queue_.front();
        if (segment.startNs < 0)
            segment.startNs = qMax(segment.readyAtNs, lineFreeAtNs_ + segment.gapNs);
        if (!ReleaseDueBytes(segment, now))
            break;
        lineFreeAtNs_ = segment.startNs + segment.data.size() * charNs_;
        queue_.pop_front();
    }
    WriteWire();
}

bool PtyRadioPort::ReleaseDueBytes(Segment& segment, qint64 now)
{
    // A character is on the far end once its ten bits have crossed the line.
    const qint64 elapsed = now - segment.startNs;
    const qint64 due = elapsed < 0 ? 0
                       : charNs_ == 0 ? segment.data.size()
                                      : qMin<qint64>(segment.data.size(), elapsed / charNs_);
    if (due > segment.sent) {
        wire_ += segment.data.mid(segment.sent, due - segment.sent);
        segment.sent = int(due);
    }
    if (segment.sent == segment.data.size())
        return true;
    const qint64 nextAt = segment.startNs + (segment.sent + 1) * charNs_;
    pumpTimer_.start(int((nextAt - now + kNsPerMs - 1) / kNsPerMs));
    return false;
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

void PtyRadioPort::FloodTick()
{
    if (queue_.empty() && wire_.isEmpty())
        QueueReply(radio_.IfReply());
}
