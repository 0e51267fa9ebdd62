#include "SoakReport.h"

#include <QDateTime>
#include <cstdio>

void SoakReport::Print(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void SoakReport::Check(bool passed, const QString& what, const QString& why)
{
    ++(passed ? passed_ : failed_);
    Print((passed ? QStringLiteral("PASS ") : QStringLiteral("FAIL ")) + what
          + (passed || why.isEmpty() ? QString() : QStringLiteral(": ") + why));
}

void SoakReport::Figure(const QString& line)
{
    Print(QStringLiteral("  ") + line);
}

void SoakReport::Note(const QString& line)
{
    Print(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss ")) + line);
}

bool SoakReport::Close(const QString& run)
{
    Print(QStringLiteral("%1: %2 passed, %3 failed").arg(run).arg(passed_).arg(failed_));
    return failed_ == 0;
}
