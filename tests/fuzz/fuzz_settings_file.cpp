// The settings file as a user may have edited it by hand: unquoted commas and
// quotes, invalid UTF-8, CR LF, huge values, thousands of keys, stray lines.
// Whatever it holds, reading never fails, and after the program writes values
// (its own write-back and new texts of any kind) a fresh reader of the file
// sees every value exactly as before, except the ones just written, which
// come back as written.
#include "FuzzCheck.h"
#include "core/IniSettingsStore.h"

#include <QFile>
#include <QHash>
#include <QPair>
#include <QTemporaryDir>
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

namespace {

using Address = QPair<QString, QString>;  // section, key

const QString kAbsent = QStringLiteral("\x01absent\x01");

// Every section and key name the file may hold, found the way a reader of
// the text sees them; which of them exist is the store's business.
QList<Address> NamesIn(const QByteArray& text)
{
    QList<Address> names = {{QStringLiteral("settings"), QStringLiteral("catport")},
                            {QStringLiteral("midimap"), QStringLiteral("e6441")}};
    QString section;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;  // a comment
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("vorn-midi-connector.ini"));
    FuzzedDataProvider input(data, size);
    const int writes = input.ConsumeIntegralInRange<int>(0, 4);
    const std::uint32_t seed = input.ConsumeIntegral<std::uint32_t>();
    const QByteArray file = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());
    QFile::remove(path);
    {
        QFile out(path);
        Require(out.open(QIODevice::WriteOnly), "settings file written");
        out.write(file);
    }

    IniSettingsStore store(path);
    const QList<Address> names = NamesIn(file);
    QHash<Address, QString> expected;
    for (const Address& name : names)
        expected.insert({name.first.toCaseFolded(), name.second.toCaseFolded()},
                        store.Read(name.first, name.second, kAbsent));

    // The start-up write-back, then new values of any kind under old and new keys.
    FuzzedDataProvider values(reinterpret_cast<const std::uint8_t*>(file.constData()),
                              static_cast<std::size_t>(file.size()));
    for (int i = 0; i < writes && !names.isEmpty(); ++i) {
        const Address& name = names[static_cast<int>((seed + 7919u * i) % names.size())];
        const QString old = store.Read(name.first, name.second, QString());
        const QString value = i == 0 ? old : AnyValue(values);
        const QString key = i % 2 ? name.second : name.second + QString::number(i);
        store.Write(name.first, key, value);
        expected.insert({name.first.toCaseFolded(), key.toCaseFolded()}, value);
    }

    IniSettingsStore again(path);
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it)
        Require(again.Read(it.key().first, it.key().second, kAbsent) == it.value(),
                "value kept", QStringLiteral("[%1] %2").arg(it.key().first, it.key().second));
    return 0;
}
