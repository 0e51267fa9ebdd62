#include "midi/LearnedControls.h"

#include "core/ISettingsStore.h"

namespace {
constexpr int kDataBytes = 128;

// The stored text of a data byte, or nothing when it is not one.
std::optional<std::uint8_t> ParseByte(const QString& text)
{
    static const QString hexDigits = QStringLiteral("0123456789abcdefABCDEF");
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 2)
        return std::nullopt;
    for (const QChar digit : digits) {
        if (!hexDigits.contains(digit))
            return std::nullopt;
    }
    const int value = digits.toInt(nullptr, 16);
    if (value >= kDataBytes)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}
} // namespace

LearnedControls::LearnedControls(ISettingsStore& store) : store_(store)
{
    Take(Table{});
}

QStringList LearnedControls::Load()
{
    Table table{};
    std::array<bool, kDataBytes> taken{};
    QStringList unreadable;
    for (int i = 0; i < SurfaceControls::kCount; ++i) {
        const QString& key = SurfaceControls::All()[i].learnKey;
        const QString text = store_.Read(Section(), key, QString());
        if (text.trimmed().isEmpty())
            continue;
        const std::optional<std::uint8_t> byte = ParseByte(text);
        if (!byte || taken[*byte]) {
            unreadable << key + QLatin1Char('=') + text;
            continue;
        }
        taken[*byte] = true;
        table[i] = byte;
    }
    Take(table);
    return unreadable;
}

void LearnedControls::Store(const Table& table)
{
    Take(table);
    // A control that was never stored gets no key at all.
    const QString absent = QStringLiteral("\x01");
    for (int i = 0; i < SurfaceControls::kCount; ++i) {
        const QString& key = SurfaceControls::All()[i].learnKey;
        const QString value = table[i] ? MidiEvent::Hex2(*table[i]) : QString();
        if (!table[i] && store_.Read(Section(), key, absent) == absent)
            continue;
        store_.Write(Section(), key, value);
    }
}

MidiEvent LearnedControls::Apply(const MidiEvent& message) const
{
    MidiEvent mapped = message;
    if (message.data1 < kDataBytes && surfaceByteOf_[message.data1] >= 0)
        mapped.data1 = static_cast<std::uint8_t>(surfaceByteOf_[message.data1]);
    return mapped;
}

void LearnedControls::Take(const Table& table)
{
    table_ = table;
    surfaceByteOf_.fill(-1);
    for (int i = 0; i < SurfaceControls::kCount; ++i) {
        if (table[i] && *table[i] < kDataBytes)
            surfaceByteOf_[*table[i]] = SurfaceControls::All()[i].dataByte;
    }
}
