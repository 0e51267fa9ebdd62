#include "RigctldRadio.h"

#include "Await.h"
#include "RigctlQuery.h"

namespace {
// rigctld takes a moment to listen; it is asked again this often, a while apart.
constexpr int kTuneTries = 50;
constexpr int kRetryMs = 100;
// The wheel tunes around 14 MHz, loggers set VFO B on 40 m.
constexpr qint64 kLowestVfoAHz = 10000000;
constexpr qint64 kHighestVfoAHz = 30000000;
}

RigctldRadio::RigctldRadio(const QString& dir, quint16 port, QObject* parent)
    : StationRadio(parent), dir_(dir), port_(port)
{
}

RigctldRadio::~RigctldRadio()
{
    Kill();
}

void RigctldRadio::Start(qint64 vfoAHz, int, std::function<void(bool)> then)
{
    Kill();
    ++starts_;
    process_ = std::make_unique<QProcess>();
    process_->setStandardOutputFile(QStringLiteral("%1/rigctld-%2.out").arg(dir_).arg(starts_));
    process_->setStandardErrorFile(QStringLiteral("%1/rigctld-%2.err").arg(dir_).arg(starts_));
    process_->start(QStringLiteral("rigctld"), {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"),
                                                QStringLiteral("127.0.0.1"), QStringLiteral("-t"),
                                                QString::number(port_)});
    Tune(vfoAHz, kTuneTries, std::move(then));
}

void RigctldRadio::Tune(qint64 vfoAHz, int triesLeft, std::function<void(bool)> then)
{
    const QStringList commands = {QStringLiteral("F"), QString::number(vfoAHz), QStringLiteral("f")};
    RigctlQuery::Run(this, port_, commands, [=](const QString& output) {
        if (RigctlQuery::Frequency(output) == vfoAHz) {
            then(true);
        } else if (triesLeft <= 1 || !process_ || process_->state() != QProcess::Running) {
            then(false);
        } else {
            After(this, kRetryMs, [=] { Tune(vfoAHz, triesLeft - 1, then); });
        }
    });
}

void RigctldRadio::Kill()
{
    if (!process_)
        return;
    process_->kill();
    process_->waitForFinished(5000);
    process_.reset();
}

void RigctldRadio::ReadVfoA(std::function<void(qint64)> then)
{
    RigctlQuery::Run(this, port_, {QStringLiteral("f")}, [this, then](const QString& output) {
        const qint64 hz = RigctlQuery::Frequency(output).value_or(-1);
        strayReadings_ += hz >= 0 && (hz < kLowestVfoAHz || hz > kHighestVfoAHz);
        then(hz);
    });
}

QStringList RigctldRadio::SettingsLines() const
{
    return {QStringLiteral("settings/rigtype=hamlib"), QStringLiteral("settings/hamlibmodel=2"),
            QStringLiteral("settings/hamlibport=127.0.0.1:%1").arg(port_)};
}
