#include "RadioLine.h"

#include "RadioModel.h"
#include "RadioTransport.h"

#include <QDateTime>
#include <algorithm>
#include <cstdio>

namespace {
// Input without any ";" beyond this is noise, not a command on its way.
constexpr int kMaxCommandBytes = 4096;
constexpr qint64 kNsPerMs = 1000000;
// How long a noise burst keeps the line busy (a radio powering up, a cable touched).
constexpr qint64 kNoiseBurstNs = 300 * kNsPerMs;
// A burst's length where the line has no pace.
constexpr int kUnpacedBurstBytes = 1024;
}

RadioLine::RadioLine(RadioModel& radio, const SimOptions& options, RadioTransport& transport,
                     QObject* parent)
    : QObject(parent), radio_(radio), options_(options), transport_(transport),
      random_(options.seed)
{
    charNs_ = options_.baud > 0 ? 10LL * 1000000000LL / options_.baud : 0;
    clock_.start();
    for (QTimer* timer : {&pumpTimer_, &inboundTimer_}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&pumpTimer_, &QTimer::timeout, this, &RadioLine::Pump);
    connect(&inboundTimer_, &QTimer::timeout, this, &RadioLine::ReleaseInbound);
    floodTimer_.setInterval(1);
    connect(&floodTimer_, &QTimer::timeout, this, &RadioLine::FloodTick);
}

bool RadioLine::Open(QString& error)
{
    if (options_.flood)
        floodTimer_.start();
    if (options_.logPath.isEmpty())
        return true;
    log_.setFileName(options_.logPath);
    if (log_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return true;
    error = QStringLiteral("Cannot write the log %1: %2").arg(options_.logPath, log_.errorString());
    return false;
}

void RadioLine::Reset()
{
    inbound_.clear();
    input_.clear();
    queue_.clear();
    pumpTimer_.stop();
    inboundTimer_.stop();
}

void RadioLine::StartAfterNs(QTimer& timer, qint64 ns)
{
    timer.start(int(qMax<qint64>(0, (ns + kNsPerMs - 1) / kNsPerMs)));
}

void RadioLine::Receive(const QByteArray& bytes)
{
    if (!options_.paced || charNs_ == 0) {
        input_ += bytes;
        TakeCommands();
        return;
    }
    // Characters follow each other on the line; one that comes while the line
    // is still busy waits its turn.
    if (inbound_.isEmpty())
        inboundStartNs_ = qMax(inboundStartNs_, NowNs());
    inbound_ += bytes;
    ReleaseInbound();
}

void RadioLine::ReleaseInbound()
{
    const qint64 arrived = qMin<qint64>(inbound_.size(), (NowNs() - inboundStartNs_) / charNs_);
    if (arrived > 0) {
        input_ += inbound_.left(arrived);
        inbound_.remove(0, arrived);
        inboundStartNs_ += arrived * charNs_;
        TakeCommands();
    }
    const qsizetype end = inbound_.indexOf(';');
    if (end >= 0)
        StartAfterNs(inboundTimer_, inboundStartNs_ + (end + 1) * charNs_ - NowNs());
}

void RadioLine::TakeCommands()
{
    qsizetype end;
    while ((end = input_.indexOf(';')) >= 0) {
        QByteArray command = input_.left(end);
        input_.remove(0, end + 1);
        while (!command.isEmpty() && (command[0] == '\r' || command[0] == '\n'))
            command.remove(0, 1);
        if (!LineSettingsAccepted())
            continue;
        Log(command);
        const QByteArray reply = radio_.Execute(command);
        if (!options_.silent && !reply.isEmpty())
            QueueReply(reply);
        if (++commandsTaken_ == options_.noiseBurstAfter)
            QueueNoiseBurst();
    }
    if (input_.size() > kMaxCommandBytes)
        input_.clear();
}

bool RadioLine::LineSettingsAccepted()
{
    // A radio set to other line settings reads nothing but garbage: it never answers.
    const QString wrong = transport_.WrongLineSettings();
    if (!wrong.isEmpty() && wrong != refusedSettings_)
        std::fprintf(stderr, "vmc-radiosim: command refused, the line is set to %s\n", qPrintable(wrong));
    refusedSettings_ = wrong;
    return wrong.isEmpty();
}

void RadioLine::Log(const QByteArray& command)
{
    if (!log_.isOpen())
        return;
    log_.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' ' + command + '\n');
    log_.flush();
}

QByteArray RadioLine::Noise(int length)
{
    QByteArray noise;
    while (noise.size() < length) {
        const char c = char(random_.bounded(256));
        if (c != ';')
            noise += c;
    }
    return noise;
}

void RadioLine::QueueReply(const QByteArray& reply)
{
    // What the radio says while a burst is on the line is lost in it.
    if (std::any_of(queue_.begin(), queue_.end(), [](const Segment& s) { return s.burst; }))
        return;
    const QByteArray data = options_.garbage ? Noise(int(random_.bounded(1, 9))) + reply : reply;
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

void RadioLine::QueueNoiseBurst()
{
    const int length = charNs_ > 0 ? int(kNoiseBurstNs / charNs_) : kUnpacedBurstBytes;
    queue_.push_back(Segment{Noise(length), NowNs(), 0, true});
    Pump();
}

void RadioLine::Pump()
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
}

bool RadioLine::ReleaseDueBytes(Segment& segment, qint64 now)
{
    // A character is on the far end once its ten bits have crossed the line.
    const qint64 elapsed = now - segment.startNs;
    const qint64 due = elapsed < 0 ? 0
                       : charNs_ == 0 ? segment.data.size()
                                      : qMin<qint64>(segment.data.size(), elapsed / charNs_);
    if (due > segment.sent) {
        transport_.Transmit(segment.data.mid(segment.sent, due - segment.sent));
        segment.sent = int(due);
    }
    if (segment.sent == segment.data.size())
        return true;
    StartAfterNs(pumpTimer_, segment.startNs + (segment.sent + 1) * charNs_ - now);
    return false;
}

void RadioLine::FloodTick()
{
    if (queue_.empty() && !transport_.Backlogged())
        QueueReply(radio_.IfReply());
}
