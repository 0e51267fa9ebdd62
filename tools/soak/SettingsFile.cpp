#include "SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QTime>

namespace {
constexpr int kLockWaitMs = 5000;

QStringList LinesOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
}

QString Unquoted(const QString& value)
{
    const QString text = value.trimmed();
    if (text.size() < 2 || !text.startsWith(QLatin1Char('"')) || !text.endsWith(QLatin1Char('"')))
        return text;
    QString plain;
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 2 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}
}

QString SettingsFile::Quoted(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\")).replace(QLatin1String("\""), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

bool SettingsFile::Write(const QStringList& lines)
{
    written_ = lines;
    QString text;
    QString section;
    for (const QString& line : lines) {
        const QString name = line.section(QLatin1Char('/'), 0, 0);
        const QString key = line.section(QLatin1Char('/'), 1).section(QLatin1Char('='), 0, 0);
        const QString value = line.section(QLatin1Char('='), 1);
        if (name != section)
            text += QStringLiteral("[%1]\n").arg(section = name);
        text += key + QLatin1Char('=') + Quoted(value) + QLatin1Char('\n');
    }
    QFile file(path_);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) == text.toUtf8().size();
}

bool SettingsFile::EditByHand(int number)
{
    QLockFile lock(QFileInfo(path_).canonicalFilePath() + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs))
        return false;
    const QString comment = QStringLiteral("; edited by hand at %1 (%2)")
                                .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")))
                                .arg(number);
    const QString key = QStringLiteral("soak%1/edited=%1").arg(number);
    QFile file(path_);
    if (!file.open(QIODevice::Append))
        return false;
    const QByteArray text = QStringLiteral("%1\n[soak%2]\nedited=%2\n").arg(comment).arg(number).toUtf8();
    if (file.write(text) != text.size())
        return false;
    handComments_ << comment;
    handKeys_ << key;
    return true;
}

bool SettingsFile::Readable(const QString& line)
{
    static const QRegularExpression section(QStringLiteral("^\\s*\\[[^\\]]+\\]\\s*([;#].*)?$"));
    static const QRegularExpression keyValue(
        QStringLiteral("^\\s*[^=\\s;#\\[][^=]*=\\s*(\"([^\"\\\\]|\\\\.)*\"|[^\"]*)\\s*$"));
    const QString text = line.trimmed();
    return text.isEmpty() || text.startsWith(QLatin1Char(';')) || text.startsWith(QLatin1Char('#'))
           || section.match(line).hasMatch() || keyValue.match(line).hasMatch();
}

QHash<QString, QString> SettingsFile::Values(const QStringList& lines)
{
    QHash<QString, QString> values;
    QString section;
    for (const QString& line : lines) {
        const QString text = line.trimmed();
        if (text.startsWith(QLatin1Char('[')))
            section = text.mid(1, text.indexOf(QLatin1Char(']')) - 1).toLower();
        else if (!text.startsWith(QLatin1Char(';')) && !text.startsWith(QLatin1Char('#')) && text.contains('='))
            values.insert(section + QLatin1Char('/') + text.section(QLatin1Char('='), 0, 0).trimmed().toLower(),
                          Unquoted(text.section(QLatin1Char('='), 1)));
    }
    return values;
}

QStringList SettingsFile::Faults() const
{
    const QStringList lines = LinesOf(path_);
    if (lines.isEmpty())
        return {QStringLiteral("cannot be read")};
    QStringList faults;
    for (const QString& line : lines)
        if (!Readable(line))
            faults << QStringLiteral("unreadable line '%1'").arg(line);
    for (const QString& comment : handComments_)
        if (!lines.contains(comment))
            faults << QStringLiteral("hand edit gone: '%1'").arg(comment);
    const QHash<QString, QString> values = Values(lines);
    for (const QString& line : written_ + handKeys_) {
        const QString key = line.section(QLatin1Char('='), 0, 0).toLower();
        const QString value = line.section(QLatin1Char('='), 1);
        if (values.value(key) != value)
            faults << QStringLiteral("%1 is '%2', was set to '%3'").arg(key, values.value(key, "(gone)"), value);
    }
    return faults;
}
