#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// The text of one settings file, kept line by line as it was read. Changing a
// value rewrites only that value's text; comments (";" or "#"), blank lines,
// lines it cannot read, keys before the first section, line endings and a
// UTF-8 byte order mark stay byte for byte. A new key goes after the last key
// of its section, a new section at the end of the file.
//
// Section and key names match without regard to letter case; where a name
// occurs twice the last one counts. A section line may carry a comment after
// its "]". Values are written quoted with backslash escapes, so that every
// text comes back exactly; a hand-edited unquoted value is the text between
// "=" and the end of the line, trimmed.
class IniDocument {
public:
    IniDocument();
    explicit IniDocument(const QByteArray& bytes);

    // The value stored under `section` and `key`, or nullptr.
    const QString* Find(const QString& section, const QString& key) const;
    // Stores `value`; false when the key held it already and nothing changed.
    bool Set(const QString& section, const QString& key, const QString& value);
    // The whole file.
    QByteArray Bytes() const;

    static QString EncodeValue(const QString& value);
    static QString DecodeValue(const QString& raw);

private:
    // The lines before the first section, or one section from its header on;
    // every line keeps its own line ending (the file's last line may have none).
    struct Block {
        QString section;  // case-folded; empty before the first section
        QList<QByteArray> lines;
        qsizetype lastKeyLine = 0;  // the header itself when the section has no key yet
    };
    struct Entry {
        qsizetype block;
        qsizetype line;
        QString value;
    };
    struct Section {
        qsizetype block;  // the last block of that name: new keys go there
        QHash<QString, Entry> keys;
    };

    void AddLine(const QByteArray& raw);
    Section& StartSection(const QString& name);
    Section& AppendSection(const QString& name);
    QByteArray* LastLine();
    void EndLine(QByteArray& raw) const;
    static QString LineText(const QByteArray& raw);
    static bool SectionName(const QString& line, QString& name);
    static QByteArray WithValue(const QByteArray& raw, const QString& value);

    QList<Block> blocks_;
    QHash<QString, Section> sections_;
    QByteArray eol_ = "\n";
    bool eolSeen_ = false;
};
