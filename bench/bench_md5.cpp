// Hashes one 256 MiB file with MD5Hash::HashFile and with md5sum and prints
// both times and their ratio. Each is run three times; the best time counts,
// so both read the file from the page cache.
#include "update/MD5Hash.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>

namespace {

constexpr qint64 kFileSize = 256LL * 1024 * 1024;
constexpr int kRounds = 3;

bool WriteTestFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk(1 << 20, '\0');
    quint32 x = 2463534242u;  // xorshift: cheap bytes that do not compress
    for (qint64 written = 0; written < kFileSize; written += chunk.size()) {
        for (char& c : chunk) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            c = static_cast<char>(x);
        }
        if (file.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

double BestSeconds(const std::function<QString()>& run, QString& digest)
{
    double best = std::numeric_limits<double>::max();
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        digest = run();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

QString Md5sum(const QString& path)
{
    QProcess md5sum;
    md5sum.start(QStringLiteral("md5sum"), {path});
    if (!md5sum.waitForFinished(-1) || md5sum.exitCode() != 0)
        return QString();
    return QString::fromLatin1(md5sum.readAllStandardOutput().left(32)).toUpper();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.bin"));
    if (!dir.isValid() || !WriteTestFile(path)) {
        std::fprintf(stderr, "cannot write the 256 MiB test file in %s\n", qPrintable(dir.path()));
        return 1;
    }

    MD5Hash md5;
    QString ours, theirs;
    const double oursSeconds = BestSeconds([&] { return md5.HashFile(path); }, ours);
    const double theirsSeconds = BestSeconds([&] { return Md5sum(path); }, theirs);
    if (ours != theirs) {
        std::fprintf(stderr, "digests differ: HashFile %s, md5sum %s\n", qPrintable(ours),
                     qPrintable(theirs));
        return 1;
    }
    std::printf("file: 256 MiB, digest %s, best of %d\n", qPrintable(ours), kRounds);
    std::printf("MD5Hash::HashFile: %.3f s (%.0f MiB/s)\n", oursSeconds, 256 / oursSeconds);
    std::printf("md5sum:            %.3f s (%.0f MiB/s)\n", theirsSeconds, 256 / theirsSeconds);
    std::printf("ratio HashFile / md5sum: %.2f\n", oursSeconds / theirsSeconds);
    return 0;
}
