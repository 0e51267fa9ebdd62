#include "RadioDisplayText.h"

#include <QRegularExpression>

QString RadioDisplayText::Megahertz(const QByteArray& hz)
{
    static const QRegularExpression digits(QStringLiteral("^-?[0-9]{1,18}$"));
    const QString text = QString::fromLatin1(hz);
    if (!digits.match(text).hasMatch())
        return Printable(hz);
    const qint64 value = hz.toLongLong();
    const qint64 magnitude = qAbs(value);
    return QStringLiteral("%1%2.%3 %4")
        .arg(value < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 1000000)
        .arg(magnitude / 1000 % 1000, 3, 10, QLatin1Char('0'))
        .arg(magnitude % 1000, 3, 10, QLatin1Char('0'));
}

QString RadioDisplayText::Mode(char digit)
{
    static const char* const kNames[] = {"",   "LSB",    "USB", "CW", "FM",
                                         "AM", "DATA", "CW-REV", "",   "DATA-REV"};
    const int index = digit - '0';
    if (index < 0 || index > 9)
        return Printable(QByteArray(1, digit));
    const QString number = QString::number(index);
    return *kNames[index] ? number + QLatin1Char(' ') + QLatin1String(kNames[index]) : number;
}

QString RadioDisplayText::Command(const QByteArray& command)
{
    return Printable(command) + QLatin1Char(';');
}

QString RadioDisplayText::Printable(const QByteArray& bytes)
{
    QString text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f)
            text += QLatin1Char(c);
        else
            text += QStringLiteral("<%1>").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    }
    return text;
}

QString RadioDisplayText::OnOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}
