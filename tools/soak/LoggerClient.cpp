#include "LoggerClient.h"

namespace {
constexpr int kReadEveryMs = 1000;
// One read in this many comes with a change of VFO B.
constexpr int kSetOneIn = 8;
constexpr int kVfoBSteps = 20000;
constexpr int kVfoBStepHz = 10;
constexpr int kErrorsKept = 3;
}

LoggerClient::LoggerClient(quint16 port, QRandomGenerator& random, QObject* parent)
    : QObject(parent), port_(port), random_(random)
{
    tick_.setInterval(kReadEveryMs);
    connect(&tick_, &QTimer::timeout, this, &LoggerClient::Tick);
    connect(&rigctl_, &QProcess::readyReadStandardOutput, this, &LoggerClient::ReadAnswers);
    rigctl_.setStandardErrorFile(QProcess::nullDevice());
}

LoggerClient::~LoggerClient()
{
    Stop();
}

void LoggerClient::Start()
{
    Open();
    tick_.start();
}

void LoggerClient::Stop()
{
    tick_.stop();
    if (rigctl_.state() == QProcess::NotRunning)
        return;
    rigctl_.write("q\n");
    rigctl_.closeWriteChannel();
    if (!rigctl_.waitForFinished(3000)) {
        rigctl_.kill();
        rigctl_.waitForFinished(3000);
    }
}

void LoggerClient::Open()
{
    ++sessions_;
    partial_.clear();
    rigctl_.start(QStringLiteral("rigctl"), {QStringLiteral("-m"), QStringLiteral("2"), QStringLiteral("-r"),
                                             QStringLiteral("127.0.0.1:%1").arg(port_), QStringLiteral("-C"),
                                             QStringLiteral("cache_timeout=0")});
}

void LoggerClient::Tick()
{
    if (rigctl_.state() == QProcess::NotRunning) {
        Open();
        return;
    }
    if (rigctl_.state() != QProcess::Running)
        return;
    QString requests = QStringLiteral("f\nm\nt\ns\n");
    if (random_.bounded(kSetOneIn) == 0) {
        requests += VfoBRequest();
        ++vfoBSets_;
    }
    rigctl_.write(requests.toLatin1());
}

QString LoggerClient::VfoBRequest()
{
    const qint64 hz = kVfoBLowestHz + qint64(random_.bounded(kVfoBSteps)) * kVfoBStepHz;
    // Either the split frequency, or VFO B chosen for this session's F and back.
    if (random_.bounded(2) == 0)
        return QStringLiteral("I %1\n").arg(hz);
    return QStringLiteral("V VFOB\nF %1\nV VFOA\n").arg(hz);
}

void LoggerClient::ReadAnswers()
{
    partial_ += rigctl_.readAllStandardOutput();
    qsizetype end;
    while ((end = partial_.indexOf('\n')) >= 0) {
        const QByteArray line = partial_.left(end);
        partial_.remove(0, end + 1);
        reads_ += line.contains("Frequency: ");
        if (!line.contains("error"))
            continue;
        ++errors_;
        if (firstErrors_.size() < kErrorsKept)
            firstErrors_ << QString::fromLocal8Bit(line).trimmed();
    }
}
