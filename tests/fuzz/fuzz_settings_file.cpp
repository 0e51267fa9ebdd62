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

// Where `before` and `after` differ: one stretch `removed` became `added`,
// on a line that begins with `lineHead`, or at the very end.
struct Difference {
    QByteArray lineHead, removed, added;
    bool atEnd;
};

Difference Compare(const QByteArray& before, const QByteArray& after)
{
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const qsizetype lineStart = head == 0 ? 0 : before.lastIndexOf('\n', head - 1) + 1;
    return {before.mid(lineStart, head - lineStart), before.mid(head, before.size() - head - tail),
            after.mid(head, after.size() - head - tail), head == before.size()};
}

// A held value leaves the file alone; a new one rewrites text after the "="
// of one line; a new key only adds bytes: its line (after its section's
// header and a blank line when the section is new), the file's last line
// gaining the ending it lacked.
void RequireOnlyTheWrite(const QByteArray& before, const QByteArray& after, const Change& change,
                         const QString& old)
{
    const QString where = change.section + QLatin1Char('/') + change.key;
    const Difference d = Compare(before, after);
    if (old == change.value) {
        Require(after == before, "rewriting a held value leaves the file alone", where);
    } else if (old != kAbsent) {
        Require(d.lineHead.contains('=') && !d.removed.contains('\n') && !d.added.contains('\n'),
                "only the value's text changed", where);
    } else {
        const qsizetype firstEnd = before.indexOf('\n');
        const QByteArray eol = firstEnd > 0 && before[firstEnd - 1] == '\r' ? "\r\n" : "\n";
        const qsizetype line = change.key.toUtf8().size() + 1 +
                               IniDocument::EncodeValue(change.value).toUtf8().size() + eol.size();
        const qsizetype header = change.section.toUtf8().size() + 2 + eol.size();
        const bool lastLineEnded = d.atEnd && !before.isEmpty() && !before.endsWith('\n');
        const qsizetype grown = d.added.size() - (lastLineEnded ? eol.size() : 0);
        Require(d.removed.isEmpty() &&
                    (grown == line || grown == header + line || grown == eol.size() + header + line),
                "only the new key's lines were added", where);
    }
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
