#include "core/Options.h"

#include "core/NumberText.h"
#include "core/NumberedError.h"

#include <cmath>

namespace {
struct KeyInfo {
    const char* name;
    QString defaultText;
};

const KeyInfo& InfoOf(Options::Key key)
{
    static const KeyInfo keys[Options::kKeys] = {
        {"catport", QStringLiteral("0")},
        {"polltime", QStringLiteral("1000")},
        {"midipolltime", QStringLiteral("100")},
        {"mautoconnect", QStringLiteral("0")},
        {"rigtype", RigTypes::Of(RigType::Flex).settingsValue},
        {"rigctld", QStringLiteral("0")},
        {"rigctldport", QStringLiteral("4532")},
        {"rigctldaddress", QStringLiteral("127.0.0.1")},
        {"hamlibmodel", QString()},
        {"hamlibport", QString()},
        {"hamlibspeed", QString()},
        // The MIDI output device for the controller's lights, by name; empty for none.
        {"midioutput", QString()},
    };
    return keys[static_cast<int>(key)];
}
} // namespace

Options::Options()
{
    for (int i = 0; i < kKeys; ++i)
        texts_[std::size_t(i)] = Default(Key(i));
}

QString Options::Name(Key key)
{
    return QLatin1String(InfoOf(key).name);
}

QString Options::Default(Key key)
{
    return InfoOf(key).defaultText;
}

std::optional<int> Options::ComPort() const
{
    const double chosen = NumberText::LeadingNumber(Text(Key::CatPort));
    if (chosen == 0 || (chosen >= 1 && chosen <= kComPorts && chosen == std::floor(chosen)))
        return int(chosen);
    return std::nullopt;
}

int Options::Milliseconds(const QString& text)
{
    const double value = std::nearbyint(NumberText::ParseDecimal(text));
    if (value < 0 || value > 2147483647.0)
        throw NumberedError::Overflow();
    return static_cast<int>(value);
}

bool Options::Autoconnect() const
{
    bool isNumber = false;
    const double value = Text(Key::Autoconnect).trimmed().toDouble(&isNumber);
    return isNumber && value == 1;
}

std::optional<int> Options::HamlibModel() const
{
    bool isNumber = false;
    const int model = Text(Key::HamlibModel).toInt(&isNumber);
    return isNumber ? std::optional<int>(model) : std::nullopt;
}

std::optional<int> Options::HamlibSpeed() const
{
    const QString& text = Text(Key::HamlibSpeed);
    bool isNumber = false;
    const int speed = text.isEmpty() ? 0 : text.toInt(&isNumber);
    return (isNumber || text.isEmpty()) && speed >= 0 ? std::optional<int>(speed) : std::nullopt;
}
