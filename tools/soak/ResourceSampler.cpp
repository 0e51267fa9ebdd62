#include "ResourceSampler.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace {
constexpr double kMsPerHour = 3600000.0;

double RssMb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression rss(QStringLiteral("^VmRSS:\\s+([0-9]+) kB"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = rss.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024.0 : -1;
}

int OpenFds(qint64 pid)
{
    return int(QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                                       QDir::System).size());
}
}

ResourceSampler::ResourceSampler(const QString& csvPath, QObject* parent) : QObject(parent), csv_(csvPath)
{
    if (csv_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        csv_.write("seconds,rss_mb,fds\n");
    timer_.setInterval(kEveryMs);
    connect(&timer_, &QTimer::timeout, this, &ResourceSampler::TakeSample);
}

void ResourceSampler::Start(qint64 pid, qint64 warmUpMs)
{
    pid_ = pid;
    warmUpMs_ = warmUpMs;
    clock_.start();
    TakeSample();
    timer_.start();
}

void ResourceSampler::TakeSample()
{
    const double rss = RssMb(pid_);
    if (rss < 0)
        return;
    samples_ << Sample{clock_.elapsed(), rss, OpenFds(pid_)};
    csv_.write(QStringLiteral("%1,%2,%3\n")
                   .arg(samples_.last().atMs / 1000)
                   .arg(rss, 0, 'f', 2)
                   .arg(samples_.last().fds)
                   .toLatin1());
    csv_.flush();
}

QList<ResourceSampler::Sample> ResourceSampler::Steady() const
{
    QList<Sample> steady;
    std::copy_if(samples_.begin(), samples_.end(), std::back_inserter(steady),
                 [this](const Sample& s) { return s.atMs >= warmUpMs_; });
    return steady.size() >= 2 ? steady : samples_;
}

QList<ResourceSampler::Sample> ResourceSampler::Late() const
{
    if (samples_.size() < 2)
        return samples_;
    const qint64 from = samples_.last().atMs * 2 / 3;
    QList<Sample> late;
    std::copy_if(samples_.begin(), samples_.end(), std::back_inserter(late),
                 [from](const Sample& s) { return s.atMs >= from; });
    return late;
}

double ResourceSampler::GrowthMbPerHour(const QList<Sample>& steady)
{
    if (steady.size() < 2)
        return 0;
    double meanT = 0, meanR = 0;
    for (const Sample& s : steady) {
        meanT += s.atMs;
        meanR += s.rssMb;
    }
    meanT /= steady.size();
    meanR /= steady.size();
    double covariance = 0, variance = 0;
    for (const Sample& s : steady) {
        covariance += (s.atMs - meanT) * (s.rssMb - meanR);
        variance += (s.atMs - meanT) * (s.atMs - meanT);
    }
    return variance > 0 ? covariance / variance * kMsPerHour : 0;
}

int ResourceSampler::MaxFds() const
{
    int most = 0;
    for (const Sample& s : samples_)
        most = std::max(most, s.fds);
    return most;
}
