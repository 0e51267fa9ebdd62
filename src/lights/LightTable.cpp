#include "lights/LightTable.h"

#include "core/ISettingsStore.h"
#include "core/KeyMap.h"

namespace {
// The surface's button `number` (1 to 6) as the controller sends it.
std::optional<LightMessage> ButtonMessage(int number, const LearnedControls::Table& learned)
{
    const SurfaceControls::Id button = SurfaceControls::Button(number, false);
    const std::optional<LearnedControls::Learned>& control = learned[std::size_t(button)];
    return LightMessage::UnderButton(
        control ? control->control
                : ControllerControl{ControllerControl::Kind::ControlChange, 0, SurfaceControls::Byte(button)});
}

// The button (1 to 6) whose press switches the state on; 0 for none.
int SwitchingButton(RadioLight::Id light, const KeyMap& keyMap, RigType rig)
{
    for (const bool longPress : {false, true}) {
        for (int number = 1; number <= SurfaceControls::kButtons; ++number) {
            const QString entry = keyMap.Read(KeyMap::Name(rig, KeyMap::ButtonSuffix(number, longPress)));
            if (RadioLight::SwitchedOnBy(light, entry, rig))
                return number;
        }
    }
    return 0;
}
} // namespace

LightTable::LightTable(ISettingsStore& store) : store_(store)
{
}

QStringList LightTable::Load()
{
    Entries entries{};
    QStringList unreadable;
    for (const RadioLight::Info& light : RadioLight::All()) {
        const QString text = store_.Read(Section(), light.key, QString()).trimmed();
        Entry& entry = entries[std::size_t(light.id)];
        if (text.compare(NoLightText(), Qt::CaseInsensitive) == 0) {
            entry.choice = Choice::NoLight;
        } else if (const std::optional<LightMessage> message = LightMessage::Parse(text)) {
            entry = {Choice::Message, *message};
        } else if (!text.isEmpty()) {
            unreadable << light.key + QLatin1Char('=') + text;
        }
    }
    entries_ = entries;
    return unreadable;
}

void LightTable::Store(const Entries& entries)
{
    entries_ = entries;
    for (const RadioLight::Info& light : RadioLight::All()) {
        const Entry& entry = entries[std::size_t(light.id)];
        const QString text = entry.choice == Choice::NoLight   ? NoLightText()
                             : entry.choice == Choice::Message ? entry.message.Text()
                                                               : QString();
        store_.Write(Section(), light.key, text);
    }
}

LightTable::Messages LightTable::Resolve(const KeyMap& keyMap, std::optional<RigType> rig,
                                         const LearnedControls::Table& learned) const
{
    Messages messages = ButtonsOwn(keyMap, rig, learned);
    for (std::size_t i = 0; i < messages.size(); ++i) {
        if (entries_[i].choice == Choice::NoLight)
            messages[i].reset();
        else if (entries_[i].choice == Choice::Message)
            messages[i] = entries_[i].message;
    }
    return messages;
}

LightTable::Messages LightTable::ButtonsOwn(const KeyMap& keyMap, std::optional<RigType> rig,
                                            const LearnedControls::Table& learned)
{
    Messages messages{};
    if (!rig)
        return messages;
    for (const RadioLight::Info& light : RadioLight::All()) {
        if (const int button = SwitchingButton(light.id, keyMap, *rig))
            messages[std::size_t(light.id)] = ButtonMessage(button, learned);
    }
    return messages;
}
