#include "update/VersionText.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

bool VersionText::IsNumbersAndDots(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]+(\\.[0-9]+)*$"));
    return pattern.match(text).hasMatch();
}

bool VersionText::IsNewer(const QString& offered, const QString& running)
{
    if (!IsNumbersAndDots(offered) || !IsNumbersAndDots(running))
        return false;
    const QStringList a = offered.split(QLatin1Char('.'));
    const QStringList b = running.split(QLatin1Char('.'));
    const qsizetype parts = std::max(a.size(), b.size());
    for (qsizetype i = 0; i < parts; ++i) {
        const int order = CompareParts(a.value(i, QStringLiteral("0")), b.value(i, QStringLiteral("0")));
        if (order != 0)
            return order > 0;
    }
    return false;
}

// Compares two digit runs as numbers of any length, so that no part can
// overflow an integer type.
int VersionText::CompareParts(const QString& a, const QString& b)
{
    auto significant = [](const QString& digits) {
        const qsizetype first = digits.indexOf(QRegularExpression(QStringLiteral("[1-9]")));
        return first < 0 ? QString() : digits.mid(first);
    };
    const QString x = significant(a);
    const QString y = significant(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}
