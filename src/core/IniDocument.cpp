#include "core/IniDocument.h"

namespace {
const QByteArray kBom = "\xEF\xBB\xBF";

// The blanks that trimming takes from either end of a line, as bytes.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Where the quoted text that opens at `open` ends (its closing quote), or -1.
qsizetype ClosingQuote(const QByteArray& raw, qsizetype open, qsizetype end)
{
    for (qsizetype i = open + 1; i < end; ++i) {
        if (raw[i] == '\\')
            ++i;
        else if (raw[i] == '"')
            return i;
    }
    return -1;
}
} // namespace

IniDocument::IniDocument() : blocks_{Block{}} {}

IniDocument::IniDocument(const QByteArray& bytes) : IniDocument()
{
    for (qsizetype start = 0; start < bytes.size();) {
        const qsizetype newline = bytes.indexOf('\n', start);
        const qsizetype end = newline < 0 ? bytes.size() : newline + 1;
        AddLine(bytes.mid(start, end - start));
        start = end;
    }
}

QString IniDocument::EncodeValue(const QString& value)
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

QString IniDocument::DecodeValue(const QString& raw)
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

// A byte order mark counts as nothing wherever a line begins with one.
QString IniDocument::LineText(const QByteArray& raw)
{
    const QByteArray text = raw.startsWith(kBom) ? raw.mid(kBom.size()) : raw;
    return QString::fromUtf8(text).trimmed();
}

// "[name]", also followed by a comment: "[name] ; the radio's own keys".
bool IniDocument::SectionName(const QString& line, QString& name)
{
    if (!line.startsWith(QLatin1Char('[')))
        return false;
    for (qsizetype close = line.indexOf(QLatin1Char(']')); close > 0;
         close = line.indexOf(QLatin1Char(']'), close + 1)) {
        const QStringView rest = QStringView(line).mid(close + 1).trimmed();
        if (rest.isEmpty() || rest.startsWith(QLatin1Char(';')) || rest.startsWith(QLatin1Char('#'))) {
            name = line.mid(1, close - 1).trimmed();
            return true;
        }
    }
    return false;
}

void IniDocument::AddLine(const QByteArray& raw)
{
    if (!eolSeen_ && raw.endsWith('\n')) {
        eolSeen_ = true;
        eol_ = raw.endsWith("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
    }
    const QString line = LineText(raw);
    QString name;
    if (SectionName(line, name)) {
        StartSection(name);
        blocks_.last().lines.append(raw);
        return;
    }
    Block& block = blocks_.last();
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    const bool comment = line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'));
    // Keys before the first section belong to no section: kept, never read.
    if (eq > 0 && !comment && blocks_.size() > 1) {
        block.lastKeyLine = block.lines.size();
        sections_[block.section].keys.insert(
            line.left(eq).trimmed().toCaseFolded(),
            Entry{blocks_.size() - 1, block.lastKeyLine, DecodeValue(line.mid(eq + 1))});
    }
    block.lines.append(raw);
}

// A section named twice reads as one; its new keys go to its last block.
IniDocument::Section& IniDocument::StartSection(const QString& name)
{
    const QString folded = name.toCaseFolded();
    blocks_.append(Block{folded, {}, 0});
    Section& section = sections_[folded];
    section.block = blocks_.size() - 1;
    return section;
}

// Sections are set apart by a blank line, as the program has always written them.
IniDocument::Section& IniDocument::AppendSection(const QString& name)
{
    if (QByteArray* last = LastLine()) {
        EndLine(*last);
        if (!LineText(*last).isEmpty())
            blocks_.last().lines.append(eol_);
    }
    Section& section = StartSection(name);
    blocks_.last().lines.append('[' + name.toUtf8() + ']' + eol_);
    return section;
}

QByteArray* IniDocument::LastLine()
{
    for (qsizetype b = blocks_.size() - 1; b >= 0; --b)
        if (!blocks_[b].lines.isEmpty())
            return &blocks_[b].lines.last();
    return nullptr;
}

// Only the file's last line can lack its line ending.
void IniDocument::EndLine(QByteArray& raw) const
{
    if (!raw.endsWith('\n'))
        raw += eol_;
}

// The line with its value replaced: the key, the blanks around "=", a comment
// after a quoted value and the line ending stay as they were.
QByteArray IniDocument::WithValue(const QByteArray& raw, const QString& value)
{
    qsizetype end = raw.size();
    while (end > 0 && IsBlank(raw[end - 1]))
        --end;
    qsizetype start = raw.indexOf('=') + 1;
    while (start < end && IsBlank(raw[start]))
        ++start;
    if (start < end && raw[start] == '"') {
        const qsizetype close = ClosingQuote(raw, start, end);
        if (close > 0)
            end = close + 1;
    }
    return raw.left(start) + EncodeValue(value).toUtf8() + raw.mid(end);
}

const QString* IniDocument::Find(const QString& section, const QString& key) const
{
    const auto s = sections_.constFind(section.toCaseFolded());
    if (s == sections_.constEnd())
        return nullptr;
    const auto e = s->keys.constFind(key.toCaseFolded());
    return e == s->keys.constEnd() ? nullptr : &e->value;
}

bool IniDocument::Set(const QString& section, const QString& key, const QString& value)
{
    const QString foldedSection = section.toCaseFolded();
    const QString foldedKey = key.toCaseFolded();
    auto s = sections_.find(foldedSection);
    if (s != sections_.end()) {
        const auto e = s->keys.find(foldedKey);
        if (e != s->keys.end()) {
            if (e->value == value)
                return false;
            QByteArray& raw = blocks_[e->block].lines[e->line];
            raw = WithValue(raw, value);
            e->value = value;
            return true;
        }
    } else {
        AppendSection(section);
        s = sections_.find(foldedSection);
    }
    // Every line after the section's last key is a comment or a blank, so no
    // entry's line number moves.
    Block& block = blocks_[s->block];
    const qsizetype at = block.lastKeyLine + 1;
    EndLine(block.lines[at - 1]);
    block.lines.insert(at, key.toUtf8() + '=' + EncodeValue(value).toUtf8() + eol_);
    block.lastKeyLine = at;
    s->keys.insert(foldedKey, Entry{s->block, at, value});
    return true;
}

QByteArray IniDocument::Bytes() const
{
    QByteArray out;
    for (const Block& block : blocks_)
        for (const QByteArray& line : block.lines)
            out += line;
    return out;
}
