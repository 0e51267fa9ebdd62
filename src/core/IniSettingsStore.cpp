#include "core/IniSettingsStore.h"

#include "core/VbError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

IniSettingsStore::IniSettingsStore(const QString& filePath) : filePath_(filePath) {}

QString IniSettingsStore::DefaultPath(const QString& applicationName)
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QLatin1Char('/') + applicationName + QStringLiteral(".ini");
}

QString IniSettingsStore::ApplicationName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString IniSettingsStore::EncodeValue(const QString& value)
{
    QString out;
    out.reserve(value.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : value) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case 0: out += QStringLiteral("\\0"); break;
        default: out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString IniSettingsStore::DecodeValue(const QString& raw)
{
    const QString text = raw.trimmed();
    if (!text.startsWith(QLatin1Char('"')))
        return text;
    QString out;
    for (int i = 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"'))
            return out;
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar n = text[++i];
            switch (n.unicode()) {
            case 'n': out += QLatin1Char('\n'); break;
            case 'r': out += QLatin1Char('\r'); break;
            case 't': out += QLatin1Char('\t'); break;
            case '0': out += QChar(0); break;
            default: out += n;
            }
            continue;
        }
        out += c;
    }
    // A quote that is never closed: take the text as it stands, nothing is lost.
    return text;
}

IniSettingsStore::Section* IniSettingsStore::FindSection(Contents& contents, const QString& name)
{
    const auto it = contents.sectionIndex.constFind(name.toCaseFolded());
    return it == contents.sectionIndex.constEnd() ? nullptr : &contents.sections[it.value()];
}

IniSettingsStore::Section& IniSettingsStore::FindOrAddSection(Contents& contents,
                                                              const QString& name)
{
    if (Section* s = FindSection(contents, name))
        return *s;
    contents.sectionIndex.insert(name.toCaseFolded(), contents.sections.size());
    contents.sections.append(Section{name, {}, {}});
    return contents.sections.last();
}

IniSettingsStore::Entry* IniSettingsStore::FindEntry(Section& section, const QString& key)
{
    const auto it = section.keyIndex.constFind(key.toCaseFolded());
    return it == section.keyIndex.constEnd() ? nullptr : &section.entries[it.value()];
}

void IniSettingsStore::AddEntry(Section& section, const QString& key, const QString& value)
{
    section.keyIndex.insert(key.toCaseFolded(), section.entries.size());
    section.entries.append(Entry{key, value});
}

void IniSettingsStore::ReloadIfChanged() const
{
    const QFileInfo info(filePath_);
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    if (size == loadedSize_ && modified == loadedModified_)
        return;
    contents_ = Contents();
    loadedSize_ = size;
    loadedModified_ = modified;
    unreadable_.clear();
    if (size < 0)
        return;
    QFile file(filePath_);
    if (file.open(QIODevice::ReadOnly))
        Parse(file.readAll());
    else
        unreadable_ = file.errorString();
}

void IniSettingsStore::Parse(const QByteArray& data) const
{
    Section* current = nullptr;
    for (const QByteArray& rawLine : data.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            current = &FindOrAddSection(contents_, name);
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || !current)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = DecodeValue(line.mid(eq + 1));
        if (Entry* e = FindEntry(*current, key))
            e->value = value;
        else
            AddEntry(*current, key, value);
    }
}

QByteArray IniSettingsStore::Serialize(const QList<Section>& sections) const
{
    QByteArray out;
    for (const Section& s : sections) {
        if (!out.isEmpty())
            out += '\n';
        out += '[' + s.name.toUtf8() + "]\n";
        for (const Entry& e : s.entries)
            out += e.key.toUtf8() + '=' + EncodeValue(e.value).toUtf8() + '\n';
    }
    return out;
}

QString IniSettingsStore::Read(const QString& section, const QString& key,
                               const QString& defaultValue) const
{
    ReloadIfChanged();
    Section* s = FindSection(contents_, section);
    if (!s)
        return defaultValue;
    Entry* e = FindEntry(*s, key);
    return e ? e->value : defaultValue;
}

void IniSettingsStore::Write(const QString& section, const QString& key, const QString& value)
{
    ReloadIfChanged();
    // Replacing a file whose settings could not be read would lose them all.
    if (!unreadable_.isEmpty())
        throw VbError::FileAccess(filePath_ + QStringLiteral(" cannot be read (") + unreadable_ +
                                  QStringLiteral("); it is left as it is"));
    Contents updated = contents_;
    Section* s = &FindOrAddSection(updated, section);
    if (Entry* e = FindEntry(*s, key)) {
        // Writing back the value the file already holds changes nothing on disk.
        if (e->value == value && loadedSize_ >= 0)
            return;
        e->value = value;
    } else {
        AddEntry(*s, key, value);
    }

    QDir().mkpath(QFileInfo(filePath_).absolutePath());
    QSaveFile file(filePath_);
    if (!file.open(QIODevice::WriteOnly))
        throw VbError::FileAccess(filePath_ + QStringLiteral(" (") + file.errorString() + ')');
    file.write(Serialize(updated.sections));
    if (!file.commit())
        throw VbError::FileAccess(filePath_ + QStringLiteral(" (") + file.errorString() + ')');

    contents_ = updated;
    const QFileInfo info(filePath_);
    loadedSize_ = info.size();
    loadedModified_ = info.lastModified();
}
