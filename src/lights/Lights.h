#pragma once

#include "core/MidiEvent.h"
#include "core/RadioState.h"
#include "lights/LightTable.h"

#include <array>
#include <functional>
#include <optional>

class KeyMap;
class LearnedControls;
class Options;

// The controller's lights, following the state of the radio: a light's
// message goes out when its state changes, never on a poll that finds the
// radio as it was. The messages are those of the light table now (the key
// map, the rig type and the learned controls choose a button's own): when
// they change, the lights shown under the old ones go out first and every
// light is sent anew. UI thread only.
class Lights {
public:
    using Send = std::function<void(const MidiEvent&)>;

    Lights(const LightTable& table, const KeyMap& keyMap, const Options& options, const LearnedControls& learned,
           Send send);

    // The lights whose state differs from what was sent.
    void Show(const RadioState& state);
    // Every light (the controller has just been connected).
    void ShowAll(const RadioState& state);
    // Every light off (the program ends, MIDI is closed).
    void AllOff();

private:
    LightTable::Messages Messages() const;
    void SendLight(int light, bool lit);

    const LightTable& table_;
    const KeyMap& keyMap_;
    const Options& options_;
    const LearnedControls& learned_;
    Send send_;
    LightTable::Messages messages_{};
    // What each light was last sent; none before it was sent.
    std::array<std::optional<bool>, RadioLight::kCount> shown_{};
};
