#include "BoxWatch.h"

#include "ProgramUnderTest.h"

BoxWatch::BoxWatch(ProgramUnderTest& program, QObject* parent) : QObject(parent), program_(program)
{
    timer_.setInterval(kEveryMs);
    connect(&timer_, &QTimer::timeout, this, &BoxWatch::Look);
}

QStringList BoxWatch::Look()
{
    const QStringList boxes = program_.Boxes();
    for (const QString& box : boxes)
        seen_.insert(box);
    return boxes;
}

void BoxWatch::CloseAll()
{
    for (const QString& box : Look()) {
        ProgramUnderTest::Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), box,
                                   QStringLiteral("key"), QStringLiteral("Return")});
        ++closed_;
    }
}
