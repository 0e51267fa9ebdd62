#include "lights/Lights.h"

#include "core/Options.h"

Lights::Lights(const LightTable& table, const KeyMap& keyMap, const Options& options, const LearnedControls& learned,
               Send send)
    : table_(table), keyMap_(keyMap), options_(options), learned_(learned), send_(std::move(send))
{
}

LightTable::Messages Lights::Messages() const
{
    return table_.Resolve(keyMap_, options_.Rig(), learned_.table());
}

void Lights::Show(const RadioState& state)
{
    const LightTable::Messages messages = Messages();
    if (messages != messages_) {
        for (int light = 0; light < RadioLight::kCount; ++light) {
            if (shown_[std::size_t(light)].value_or(false))
                SendLight(light, false);
        }
        messages_ = messages;
        shown_ = {};
    }
    for (const RadioLight::Info& light : RadioLight::All()) {
        const bool lit = RadioLight::IsOn(light.id, state);
        if (shown_[std::size_t(light.id)] != lit)
            SendLight(int(light.id), lit);
    }
}

void Lights::ShowAll(const RadioState& state)
{
    shown_ = {};
    Show(state);
}

void Lights::AllOff()
{
    messages_ = Messages();
    for (int light = 0; light < RadioLight::kCount; ++light)
        SendLight(light, false);
}

void Lights::SendLight(int light, bool lit)
{
    shown_[std::size_t(light)] = lit;
    if (const std::optional<LightMessage>& message = messages_[std::size_t(light)])
        send_(message->Message(lit));
}
