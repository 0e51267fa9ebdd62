#include "lights/RadioLight.h"

#include <QRegularExpression>

namespace {
using Id = RadioLight::Id;

// An entry's commands switching the state on: a command of its own in CAT
// text (between semicolons), the first words of the line in rigctl's. No
// command switches the CAT link on, and rigctl's VFO choice is the client's
// own, not the radio's.
struct Switch {
    const char* cat;
    const char* rigctl;
};

const std::array<Switch, RadioLight::kCount> kSwitches = {{
    {nullptr, nullptr},
    {"(^|;)TX\\d?;", "^\\s*(T|\\\\?set_ptt)\\s+[123]\\b"},
    {"(^|;)FT1;", "^\\s*(S|\\\\?set_split_vfo)\\s+1\\b"},
    {"(^|;)FR1;", nullptr},
    {"(^|;)RT1;", "^\\s*(U|\\\\?set_func)\\s+RIT\\s+1\\b"},
    {"(^|;)XT1;", "^\\s*(U|\\\\?set_func)\\s+XIT\\s+1\\b"},
    {"(^|;)NB1;", "^\\s*(U|\\\\?set_func)\\s+NB\\s+1\\b"},
}};

// The compiled patterns of one language, none where a state has no command.
using Patterns = std::array<std::optional<QRegularExpression>, RadioLight::kCount>;

Patterns Compile(const char* Switch::*language)
{
    Patterns patterns;
    for (std::size_t i = 0; i < kSwitches.size(); ++i) {
        if (const char* text = kSwitches[i].*language)
            patterns[i] = QRegularExpression(QLatin1String(text), QRegularExpression::CaseInsensitiveOption);
    }
    return patterns;
}

bool On(const std::optional<bool>& flag)
{
    return flag.value_or(false);
}
} // namespace

const std::array<RadioLight::Info, RadioLight::kCount>& RadioLight::All()
{
    static const std::array<Info, kCount> all = {{
        {Id::CatLink, QStringLiteral("cat"), QStringLiteral("CAT link up")},
        {Id::Transmit, QStringLiteral("transmit"), QStringLiteral("Transmit")},
        {Id::Split, QStringLiteral("split"), QStringLiteral("Split on")},
        {Id::VfoB, QStringLiteral("vfob"), QStringLiteral("VFO B in use")},
        {Id::Rit, QStringLiteral("rit"), QStringLiteral("RIT on")},
        {Id::Xit, QStringLiteral("xit"), QStringLiteral("XIT on")},
        {Id::NoiseBlanker, QStringLiteral("nb"), QStringLiteral("Noise blanker on")},
    }};
    return all;
}

bool RadioLight::IsOn(Id id, const RadioState& state)
{
    switch (id) {
    case Id::CatLink:
        return state.answering;
    case Id::Transmit:
        return On(state.transmitting);
    case Id::Split:
        return On(state.split);
    case Id::VfoB:
        return On(state.vfoBInUse);
    case Id::Rit:
        return On(state.rit);
    case Id::Xit:
        return On(state.xit);
    case Id::NoiseBlanker:
        return On(state.Function("NB"));
    }
    return false;
}

bool RadioLight::SwitchedOnBy(Id id, const QString& entry, RigType rig)
{
    static const Patterns cat = Compile(&Switch::cat);
    static const Patterns rigctl = Compile(&Switch::rigctl);
    const std::optional<QRegularExpression>& on = (rig == RigType::Hamlib ? rigctl : cat)[std::size_t(id)];
    return on && on->match(entry).hasMatch();
}
