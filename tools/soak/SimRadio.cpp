#include "SimRadio.h"

#include "Await.h"

#include <QFileInfo>
#include <QTimer>

namespace {
constexpr int kStartWaitMs = 15000;
// The wheel tunes around 14 MHz, loggers set VFO B on 40 m.
constexpr qint64 kLowestWheelHz = 10000000;
constexpr qint64 kHighestWheelHz = 30000000;
// Polls of a new radio before the program is taken to be talking to it.
constexpr int kPollsToCount = 3;
}

SimRadio::SimRadio(const QString& executable, const QString& dir, Road road, quint16 tcpPort, QObject* parent)
    : StationRadio(parent), executable_(executable), dir_(dir), road_(road), tcpPort_(tcpPort),
      link_(dir + QStringLiteral("/radio"))
{
}

SimRadio::~SimRadio()
{
    Kill();
}

void SimRadio::Start(qint64 vfoAHz, int noiseBurstAfter, std::function<void(bool)> then)
{
    Kill();
    ++starts_;
    vfoA_ = vfoAHz;
    commandsSinceStart_ = 0;
    const QString logPath = QStringLiteral("%1/radio-%2.log").arg(dir_).arg(starts_);
    QStringList arguments = {QStringLiteral("--paced"), QStringLiteral("--log"), logPath,
                             QStringLiteral("--freq-a"), QStringLiteral("%1").arg(vfoAHz, 11, 10, QLatin1Char('0')),
                             QStringLiteral("--seed"), QString::number(starts_)};
    arguments << (road_ == Road::Tcp ? QStringLiteral("--tcp") : QStringLiteral("--link"))
              << (road_ == Road::Tcp ? QString::number(tcpPort_) : link_);
    if (noiseBurstAfter > 0)
        arguments << QStringLiteral("--noise-burst") << QString::number(noiseBurstAfter);
    process_ = std::make_unique<QProcess>();
    process_->setStandardErrorFile(QStringLiteral("%1/radio-%2.err").arg(dir_).arg(starts_));
    process_->start(executable_, arguments);
    log_.close();
    log_.setFileName(logPath);
    partial_.clear();
    // The simulator prints its line once it listens (and the link and the log are there).
    QProcess* radio = process_.get();
    Await(this, [radio] { return radio->canReadLine() || radio->state() == QProcess::NotRunning; }, kStartWaitMs,
          [this, radio, then](bool) {
              const bool on = radio->state() == QProcess::Running && radio->canReadLine()
                              && log_.open(QIODevice::ReadOnly);
              then(on);
          });
}

void SimRadio::Kill()
{
    if (!process_)
        return;
    ReadLog();
    process_->kill();
    process_->waitForFinished(5000);
    process_.reset();
    // The system takes a device's link away with the device (udev does so
    // for /dev/serial/by-id); a link left pointing at the pseudo-terminal's
    // number would lead the program to whichever process gets it next.
    if (QFileInfo(link_).isSymLink())
        QFile::remove(link_);
}

void SimRadio::ReadLog()
{
    if (!log_.isOpen())
        return;
    // The simulator may be in the middle of a line; its rest comes with the next read.
    partial_ += log_.readAll();
    qsizetype end;
    while ((end = partial_.indexOf('\n')) >= 0) {
        const QByteArray line = partial_.left(end).trimmed();
        partial_.remove(0, end + 1);
        const qsizetype blank = line.indexOf(' ');
        if (blank > 0)
            Take(line.mid(blank + 1));
    }
}

void SimRadio::Take(const QByteArray& command)
{
    ++commandsSinceStart_;
    if (command.startsWith("FB") && command.size() > 2)
        ++vfoB_;
    if (!command.startsWith("FA") || command.size() <= 2)
        return;
    bool ok = false;
    const qint64 hz = command.mid(2).toLongLong(&ok);
    if (!ok)
        return;
    vfoA_ = hz;
    strayVfoA_ += hz < kLowestWheelHz || hz > kHighestWheelHz;
}

void SimRadio::ReadVfoA(std::function<void(qint64)> then)
{
    ReadLog();
    const qint64 hz = vfoA_;
    QTimer::singleShot(0, this, [then, hz] { then(hz); });
}

bool SimRadio::Polled()
{
    ReadLog();
    return commandsSinceStart_ >= kPollsToCount;
}

QStringList SimRadio::SettingsLines() const
{
    const QString line = road_ == Road::Tcp ? QStringLiteral("tcp://127.0.0.1:%1").arg(tcpPort_) : link_;
    if (road_ != Road::Hamlib)
        return {QStringLiteral("settings/rigtype=flex"), QStringLiteral("settings/catport=1"),
                QStringLiteral("ports/com1=") + line};
    return {QStringLiteral("settings/rigtype=hamlib"), QStringLiteral("settings/hamlibmodel=2028"),
            QStringLiteral("settings/hamlibport=") + link_, QStringLiteral("settings/hamlibspeed=38400")};
}

int SimRadio::StrayVfoACommands()
{
    ReadLog();
    return strayVfoA_;
}

int SimRadio::VfoBCommands()
{
    ReadLog();
    return vfoB_;
}
