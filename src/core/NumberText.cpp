#include "core/NumberText.h"

#include "core/NumberedError.h"

#include <cmath>
#include <limits>

namespace {


bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The text without blanks at either end.
QStringView Unblanked(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return QStringView(text).mid(first, last - first);
}

bool IsDecimalNumber(QStringView number)
{
    qsizetype i = 0;
    if (i < number.size() && (number[i] == QLatin1Char('+') || number[i] == QLatin1Char('-')))
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < number.size(); ++i) {
        if (IsDigit(number[i]))
            ++digits;
        else if (number[i] == QLatin1Char('.') && !point)
            point = true;
        else
            return false;
    }
    return digits > 0;
}

double RoundHalfEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    const bool belowIsOdd = std::fmod(below, 2.0) != 0.0;
    return fraction > 0.5 || (fraction == 0.5 && belowIsOdd) ? below + 1.0 : below;
}

NumberedError Mismatch(const QString& text)
{
    return NumberedError::TypeMismatch(QLatin1Char('"') + text + QLatin1Char('"'));
}

} // namespace

double NumberText::ParseDecimal(const QString& text)
{
    const QStringView number = Unblanked(text);
    if (!IsDecimalNumber(number))
        throw Mismatch(text);
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw NumberedError::Overflow();
    return value;
}

double NumberText::LeadingNumber(const QString& text)
{
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const int start = i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
    }
    bool ok = false;
    const double value = QStringView(text).mid(start, i - start).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

qint16 NumberText::ToInt16(double value)
{
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= std::numeric_limits<qint16>::min() &&
          rounded <= std::numeric_limits<qint16>::max()))
        throw NumberedError::Overflow();
    return static_cast<qint16>(rounded);
}

QString NumberText::BlankLed(int value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}
