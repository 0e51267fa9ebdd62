#pragma once

#include "core/RadioState.h"
#include "core/RigType.h"

#include <QString>

#include <array>

// The states of the radio that lights on the controller show, as the radio
// reports them (the poll, a Hamlib read), and which key map entries switch
// each one on: the button that sends such an entry shows the state in its
// own light.
class RadioLight {
public:
    enum class Id { CatLink, Transmit, Split, VfoB, Rit, Xit, NoiseBlanker };
    static constexpr int kCount = 7;
    struct Info {
        Id id;
        // Its key in section [lights] of the settings ("split").
        QString key;
        // As the lights window names it ("Split on").
        QString caption;
    };

    static const std::array<Info, kCount>& All();
    static bool IsOn(Id id, const RadioState& state);
    // Whether the key map entry `entry` of a `rig` radio (CAT text, or
    // rigctl's words for a Hamlib radio) switches the state on: "FT1;", "S 1 VFOB".
    static bool SwitchedOnBy(Id id, const QString& entry, RigType rig);
};
