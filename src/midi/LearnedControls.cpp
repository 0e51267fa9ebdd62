#include "midi/LearnedControls.h"

#include "core/ISettingsStore.h"

namespace {
bool LearnedWithTurns(const LearnedControls::Learned& learned, SurfaceControls::Kind kind)
{
    return kind == SurfaceControls::Kind::Wheel && learned.control.kind != ControllerControl::Kind::AnyMessage;
}
} // namespace

QString LearnedControls::Learned::Text(SurfaceControls::Kind kind) const
{
    const QString control = this->control.Text();
    return LearnedWithTurns(*this, kind) ? control + QLatin1Char(' ') + WheelEncodings::Key(encoding) : control;
}

std::optional<LearnedControls::Learned> LearnedControls::Learned::Parse(const QString& text,
                                                                         SurfaceControls::Kind kind)
{
    QString rest = text.simplified();
    Learned learned;
    if (kind == SurfaceControls::Kind::Wheel) {
        const QString last = rest.section(QLatin1Char(' '), -1);
        if (const std::optional<WheelEncoding> encoding = WheelEncodings::FromKey(last)) {
            learned.encoding = *encoding;
            rest.chop(last.size());
        }
    }
    const std::optional<ControllerControl> control = ControllerControl::Parse(rest);
    if (!control || (kind == SurfaceControls::Kind::Wheel && control->kind == ControllerControl::Kind::Note))
        return std::nullopt;
    learned.control = *control;
    return learned;
}

LearnedControls::LearnedControls(ISettingsStore& store) : store_(store)
{
}

QStringList LearnedControls::Load()
{
    Table table{};
    QStringList unreadable;
    for (int i = 0; i < SurfaceControls::kCount; ++i) {
        const SurfaceControls::Control& control = SurfaceControls::All()[i];
        const QString text = store_.Read(Section(), control.learnKey, QString());
        if (text.trimmed().isEmpty())
            continue;
        const std::optional<Learned> learned = Learned::Parse(text, control.kind);
        const bool taken = learned && std::any_of(table.begin(), table.begin() + i, [&](const auto& earlier) {
                               return earlier && earlier->control.Overlaps(learned->control);
                           });
        if (!learned || taken)
            unreadable << control.learnKey + QLatin1Char('=') + text;
        else
            table[i] = learned;
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
        const SurfaceControls::Control& control = SurfaceControls::All()[i];
        const QString value = table[i] ? table[i]->Text(control.kind) : QString();
        if (!table[i] && store_.Read(Section(), control.learnKey, absent) == absent)
            continue;
        store_.Write(Section(), control.learnKey, value);
    }
}

void LearnedControls::Take(const Table& table)
{
    table_ = table;
    ++generation_;
}
