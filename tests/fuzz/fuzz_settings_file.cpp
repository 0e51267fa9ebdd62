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
#include "support/FileBytes.h"

#include <QHash>
#include <QPair>
#include <QTemporaryDir>
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>

namespace {

using Address = QPair<QString, QString>;  // section, key
struct Change { QString section, key, value; };
const QString kAbsent = QStringLiteral("\x01absent\x01");

// Every section and key name the file may hold, found the way a reader of
// the text sees them; which of them exist is the store's business.
QList<Address> NamesIn(const QByteArray& text)
{
    QList<Address> names = {{"settings", "catport"}, {"midimap", "e6441"}};
    QString section;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw.startsWith("\xEF\xBB\xBF") ? raw.mid(3) : raw).trimmed();
        const qsizetype close = line.indexOf(QLatin1Char(']')), eq = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char('[')))
            section = close > 0 ? line.mid(1, close - 1).trimmed() : section;
        else if (eq > 0 && !line.startsWith(QLatin1Char(';')) && !line.startsWith(QLatin1Char('#')))  // not a comment
            names.append({section, line.left(eq).trimmed()});
    }
    return names;
}

// A held value leaves the file alone; a new one rewrites text after the "="
// of one line; a new key only adds bytes: its line (after its section's
// header and a blank line when the section is new), the file's last line
// gaining the ending it lacked.
void RequireOnlyTheWrite(const QByteArray& before, const QByteArray& after, const Change& change, const QString& old)
{
    const QString where = change.section + QLatin1Char('/') + change.key;
    // The stretch where the two differ: `removed` became `added`.
    const qsizetype head = std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first - before.begin();
    const qsizetype tail = std::mismatch(before.rbegin(), before.rend() - head, after.rbegin(), after.rend() - head).first - before.rbegin();
    const QByteArray removed = before.mid(head, before.size() - head - tail), added = after.mid(head, after.size() - head - tail);
    if (old == change.value) {
        Require(after == before, "rewriting a held value leaves the file alone", where);
    } else if (old != kAbsent) {
        const QByteArray lineHead = before.left(head).mid(before.left(head).lastIndexOf('\n') + 1);
        Require(lineHead.contains('=') && !removed.contains('\n') && !added.contains('\n'), "only the value's text changed", where);
    } else {
        const QByteArray eol = before.left(before.indexOf('\n') + 1).endsWith("\r\n") ? "\r\n" : "\n";
        const qsizetype line = change.key.toUtf8().size() + 1 + IniDocument::EncodeValue(change.value).toUtf8().size() + eol.size();
        const qsizetype header = change.section.toUtf8().size() + 2 + eol.size();
        // Inserted lines may share their last bytes with the line they went in
        // front of ("e" before "e6441=..."): move the stretch back to a line start.
        qsizetype at = head;
        QByteArray inserted = added;
        while (at > 0 && before[at - 1] != '\n' && !inserted.isEmpty() && inserted.back() == before[at - 1]) {
            inserted = inserted.back() + inserted.chopped(1);
            --at;
        }
        const bool lastLineEnded = at == before.size() && !before.isEmpty() && !before.endsWith('\n');
        const qsizetype grown = inserted.size() - (lastLineEnded ? eol.size() : 0);
        Require(removed.isEmpty() && (grown == line || grown == header + line || grown == eol.size() + header + line),
                "only the new key's lines were added", where);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath("vorn-midi-connector.ini"), batchPath = dir.filePath("batch.ini");
    FuzzedDataProvider input(data, size);
    const int writes = input.ConsumeIntegralInRange<int>(0, 4);
    const std::uint32_t seed = input.ConsumeIntegral<std::uint32_t>();
    const QByteArray file = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());
    Require(PutFileBytes(path, file) && PutFileBytes(batchPath, file), "settings files written");

    IniSettingsStore store(path);
    const QList<Address> names = NamesIn(file);
    QHash<Address, QString> expected;
    for (const Address& name : names)
        expected.insert({name.first.toCaseFolded(), name.second.toCaseFolded()}, store.Read(name.first, name.second, kAbsent));

    // The start-up write-back, then new values of any kind under old and new keys.
    FuzzedDataProvider values(reinterpret_cast<const std::uint8_t*>(file.constData()), static_cast<std::size_t>(file.size()));
    QList<Change> changes;
    for (int i = 0; i < writes; ++i) {
        const Address& name = names[static_cast<int>((seed + 7919u * i) % names.size())];
        const QString key = i % 2 ? name.second + QString::number(i) : name.second;
        const QString old = store.Read(name.first, key, kAbsent);
        const Change change{name.first, key,
                            i == 0 && old != kAbsent ? old : QString::fromStdString(values.ConsumeRandomLengthString(4096))};
        const QByteArray before = FileBytes(path);
        store.Write(change.section, change.key, change.value);
        RequireOnlyTheWrite(before, FileBytes(path), change, old);
        expected.insert({change.section.toCaseFolded(), change.key.toCaseFolded()}, change.value);
        changes.append(change);
    }

    IniSettingsStore again(path);
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it)
        Require(again.Read(it.key().first, it.key().second, kAbsent) == it.value(), "value kept",
                it.key().first + QLatin1Char('/') + it.key().second);

    IniSettingsStore batched(batchPath);
    SettingsBatch batch(batched);
    for (const Change& change : changes)
        batched.Write(change.section, change.key, change.value);
    batch.Commit();
    Require(FileBytes(batchPath) == FileBytes(path), "a batch writes what its writes one by one would");
    return 0;
}
