#pragma once

#include "core/ISettingsStore.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

// Settings in one INI file per user. Values are written quoted with backslash
// escapes so that every text (blanks at either end, ";", "#", "=", quotes,
// non-ASCII, the empty text) comes back exactly; hand-edited unquoted values
// are read as the text between "=" and the end of the line, trimmed.
// Section and key names match without regard to letter case, as the
// Windows registry does. Every write replaces the file atomically; a file
// that exists but cannot be read is never replaced.
class IniSettingsStore : public ISettingsStore {
public:
    explicit IniSettingsStore(const QString& filePath);

    // $XDG_CONFIG_HOME/<applicationName>.ini (~/.config when unset).
    static QString DefaultPath(const QString& applicationName);
    // The running executable's file name without its extension.
    static QString ApplicationName();

    QString Read(const QString& section, const QString& key,
                 const QString& defaultValue) const override;
    void Write(const QString& section, const QString& key, const QString& value) override;

    const QString& filePath() const { return filePath_; }

    static QString EncodeValue(const QString& value);
    static QString DecodeValue(const QString& raw);

private:
    struct Entry {
        QString key;
        QString value;
    };
    // Names are looked up through their case-folded form, so that a file of
    // many thousands of keys is read in one pass instead of one scan per key.
    struct Section {
        QString name;
        QList<Entry> entries;
        QHash<QString, qsizetype> keyIndex;
    };
    struct Contents {
        QList<Section> sections;
        QHash<QString, qsizetype> sectionIndex;
    };

    void ReloadIfChanged() const;
    void Parse(const QByteArray& data) const;
    QByteArray Serialize(const QList<Section>& sections) const;
    static Section* FindSection(Contents& contents, const QString& name);
    static Section& FindOrAddSection(Contents& contents, const QString& name);
    static Entry* FindEntry(Section& section, const QString& key);
    static void AddEntry(Section& section, const QString& key, const QString& value);

    QString filePath_;
    mutable Contents contents_;
    mutable QDateTime loadedModified_;
    mutable qint64 loadedSize_ = -1;
    // Why the file that exists could not be read; it is then never replaced.
    mutable QString unreadable_;
};
