#include "core/RadioState.h"

void RadioState::SetFunction(const QByteArray& name, bool on)
{
    if (name == "RIT")
        rit = on;
    else if (name == "XIT")
        xit = on;
    else
        functions[name] = on;
}

std::optional<bool> RadioState::Function(const QByteArray& name) const
{
    if (name == "RIT")
        return rit;
    if (name == "XIT")
        return xit;
    const auto function = functions.find(name);
    return function == functions.end() ? std::nullopt : std::optional<bool>(*function);
}

RadioState::Fields RadioState::DifferencesTo(const RadioState& other) const
{
    Fields fields;
    fields.setFlag(Field::Answering, answering != other.answering);
    fields.setFlag(Field::VfoBKnown, vfoBKnown != other.vfoBKnown);
    fields.setFlag(Field::VfoA, vfoA != other.vfoA);
    fields.setFlag(Field::VfoB, vfoB != other.vfoB);
    fields.setFlag(Field::Mode, mode != other.mode);
    fields.setFlag(Field::Transmitting, transmitting != other.transmitting);
    fields.setFlag(Field::Split, split != other.split);
    fields.setFlag(Field::VfoBInUse, vfoBInUse != other.vfoBInUse);
    fields.setFlag(Field::Rit, rit != other.rit);
    fields.setFlag(Field::Xit, xit != other.xit);
    fields.setFlag(Field::Functions, functions != other.functions);
    fields.setFlag(Field::Levels, levels != other.levels);
    return fields;
}
