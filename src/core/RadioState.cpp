#include "core/RadioState.h"

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
    fields.setFlag(Field::Rit, rit != other.rit);
    fields.setFlag(Field::Xit, xit != other.xit);
    fields.setFlag(Field::Functions, functions != other.functions);
    fields.setFlag(Field::Levels, levels != other.levels);
    return fields;
}
