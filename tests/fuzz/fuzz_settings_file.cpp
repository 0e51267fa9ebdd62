// The settings file as a user may have edited it by hand: unquoted commas and
// quotes, invalid UTF-8, CR LF, a byte order mark, huge values, thousands of
// keys, comments, stray lines. Whatever it holds, reading never fails, and
// each write the program makes (its own write-back and new texts of any kind)
// changes only the value written: the file afterwards is the file before with
// that one value's text replaced, or with the new key's line (and, for a new
// section, its header) inserted; every other byte stays. A fresh reader sees
// every value as before except the ones written, which come back as written,
// and the same writes made as one batch give the same file.
#include "FuzzCheck.h"
#include "core/IniDocument.h"
#include "core/IniSettingsStore.h"
#include "core/SettingsBatch.h"

#include <QFile>
#include <QHash>
#include <QPair>
#include <QTemporaryDir>
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

namespace {

using Address = QPair<QString, QString>;  // section, key

struct Change {
    QString section, key, value;
};

const QString kAbsent = QStringLiteral("\x01absent\x01");

QString Text(const QByteArray& raw)
{
    return QString::fromUtf8(raw.startsWith("\xEF\xBB\xBF") ? raw.mid(3) : raw).trimmed();
}

// Every section and key name the file may hold, found the way a reader of
// the text sees them; which of them exist is the store's business. The
// program's own keys never begin with "[", so such keys are left out.
QList<Address> NamesIn(const QByteArray& text)
{
    QList<Address> names = {{QStringLiteral("settings"), QStringLiteral("catport")},
                            {QStringLiteral("midimap"), QStringLiteral("e6441")}};
    QString section;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = Text(raw);
        if (line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;  // a comment
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            if (close > 0)
                section = line.mid(1, close - 1).trimmed();
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            names.append({section, line.left(eq).trimmed()});
    }
    return names;
}

QString AnyValue(FuzzedDataProvider& input)
{
    return QString::fromUtf8(QByteArray::fromStdString(input.ConsumeRandomLengthString(4096)));
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    Require(file.open(QIODevice::ReadOnly), "settings file readable");
    return file.readAll();
}

void Put(const QString& path, const QByteArray& bytes)
{
    QFile::remove(path);
    QFile out(path);
    Require(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size(), "settings file written");
}

// The lines of `text`, each with its line ending.
QList<QByteArray> Lines(const QByteArray& text)
{
    QList<QByteArray> lines;
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype newline = text.indexOf('\n', start);
        const qsizetype end = newline < 0 ? text.size() : newline + 1;
        lines.append(text.mid(start, end - start));
        start = end;
    }
    return lines;
}

// `after` is `before` with one line's value rewritten: the same lines, one
// of them different from its "=" on, with the same line ending.
bool OneValueRewritten(const QList<QByteArray>& before, const QList<QByteArray>& after)
{
    if (before.size() != after.size())
        return false;
    int changed = 0;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (before[i] == after[i])
            continue;
        const qsizetype eq = before[i].indexOf('=');
        const bool sameEnd = before[i].endsWith("\r\n") == after[i].endsWith("\r\n") &&
                             before[i].endsWith('\n') == after[i].endsWith('\n');
        if (++changed > 1 || eq < 0 || !sameEnd || after[i].left(eq + 1) != before[i].left(eq + 1))
            return false;
    }
    return changed == 1;
}

// `after` is `before` with `added` inserted at one place; the last line, when
// it lacked a line ending, gains one if the insertion follows it.
bool LinesInserted(const QList<QByteArray>& before, const QList<QByteArray>& after,
                   const QList<QByteArray>& added, const QByteArray& eol)
{
    if (after.size() != before.size() + added.size())
        return false;
    if (!before.isEmpty() && !before.last().endsWith('\n')) {
        QList<QByteArray> ended = before;
        ended.last() += eol;
        if (ended + added == after)
            return true;
    }
    qsizetype common = 0;
    while (common < before.size() && before[common] == after[common])
        ++common;
    // Lines equal to the inserted ones may make the common start look longer.
    for (qsizetype at = common; at >= 0 && at >= common - added.size(); --at)
        if (before.mid(0, at) + added + before.mid(at) == after)
            return true;
    return false;
}

void RequireOnlyTheWrite(const QByteArray& before, const QByteArray& after, const Change& change,
                         const QString& old)
{
    if (old == change.value) {
        Require(after == before, "rewriting a held value leaves the file alone");
        return;
    }
    const QList<QByteArray> beforeLines = Lines(before);
    const QList<QByteArray> afterLines = Lines(after);
    if (old != kAbsent) {
        Require(OneValueRewritten(beforeLines, afterLines), "only the value's text changed",
                change.section + QLatin1Char('/') + change.key);
        return;
    }
    const qsizetype firstEnd = before.indexOf('\n');
    const QByteArray eol = firstEnd > 0 && before[firstEnd - 1] == '\r' ? "\r\n" : "\n";
    const QByteArray keyLine =
        change.key.toUtf8() + '=' + IniDocument::EncodeValue(change.value).toUtf8() + eol;
    const QByteArray header = '[' + change.section.toUtf8() + ']' + eol;
    const bool inserted = LinesInserted(beforeLines, afterLines, {keyLine}, eol) ||
                          LinesInserted(beforeLines, afterLines, {header, keyLine}, eol) ||
                          LinesInserted(beforeLines, afterLines, {eol, header, keyLine}, eol);
    Require(inserted, "only the new key's lines were added", change.section + QLatin1Char('/') + change.key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("vorn-midi-connector.ini"));
    static const QString batchPath = dir.filePath(QStringLiteral("batch.ini"));
    FuzzedDataProvider input(data, size);
    const int writes = input.ConsumeIntegralInRange<int>(0, 4);
    const std::uint32_t seed = input.ConsumeIntegral<std::uint32_t>();
    const QByteArray file = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());
    Put(path, file);

    IniSettingsStore store(path);
    QList<Address> names = NamesIn(file);
    QHash<Address, QString> expected;
    for (const Address& name : names)
        expected.insert({name.first.toCaseFolded(), name.second.toCaseFolded()},
                        store.Read(name.first, name.second, kAbsent));
    names.removeIf([](const Address& name) { return name.second.startsWith(QLatin1Char('[')); });

    // The start-up write-back, then new values of any kind under old and new keys.
    FuzzedDataProvider values(reinterpret_cast<const std::uint8_t*>(file.constData()),
                              static_cast<std::size_t>(file.size()));
    QList<Change> changes;
    for (int i = 0; i < writes; ++i) {
        const Address& name = names[static_cast<int>((seed + 7919u * i) % names.size())];
        const QString key = i % 2 ? name.second + QString::number(i) : name.second;
        const QString old = store.Read(name.first, key, kAbsent);
        const Change change{name.first, key, i == 0 && old != kAbsent ? old : AnyValue(values)};
        const QByteArray before = Contents(path);
        store.Write(change.section, change.key, change.value);
        RequireOnlyTheWrite(before, Contents(path), change, old);
        expected.insert({change.section.toCaseFolded(), change.key.toCaseFolded()}, change.value);
        changes.append(change);
    }

    IniSettingsStore again(path);
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it)
        Require(again.Read(it.key().first, it.key().second, kAbsent) == it.value(),
                "value kept", QStringLiteral("[%1] %2").arg(it.key().first, it.key().second));

    Put(batchPath, file);
    IniSettingsStore batched(batchPath);
    {
        SettingsBatch batch(batched);
        for (const Change& change : changes)
            batched.Write(change.section, change.key, change.value);
        batch.Commit();
    }
    Require(Contents(batchPath) == Contents(path), "a batch writes what its writes one by one would");
    return 0;
}
