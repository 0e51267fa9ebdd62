#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QObject>
#include <QTimer>

// The program's resident memory and open file descriptors, every
// kEveryMs from /proc. Growth is the slope of a line fitted to the samples
// taken after the warm-up, so that one late allocation does not count as a leak.
class ResourceSampler : public QObject {
    Q_OBJECT
public:
    static constexpr int kEveryMs = 10000;

    struct Sample {
        qint64 atMs;
        double rssMb;
        int fds;
    };

    // Each sample is also written to `csvPath`: seconds, RSS in MB, descriptors.
    explicit ResourceSampler(const QString& csvPath, QObject* parent = nullptr);

    void Start(qint64 pid, qint64 warmUpMs);
    void Stop() { timer_.stop(); }
    void TakeSample();

    // Samples after the warm-up (all of them when the run was shorter).
    QList<Sample> Steady() const;
    // Samples of the last third of the run.
    QList<Sample> Late() const;
    static double GrowthMbPerHour(const QList<Sample>& samples);
    int MaxFds() const;

private:
    qint64 pid_ = 0;
    qint64 warmUpMs_ = 0;
    QElapsedTimer clock_;
    QTimer timer_;
    QList<Sample> samples_;
    QFile csv_;
};
