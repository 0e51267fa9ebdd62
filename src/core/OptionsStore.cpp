#include "core/OptionsStore.h"

#include "core/ISettingsStore.h"
#include "core/SettingsBatch.h"
#include "core/NumberText.h"

namespace {
const QString kSection = QStringLiteral("settings");

QString EdgeKey(OptionsStore::Edge edge)
{
    return edge == OptionsStore::Edge::Top ? QStringLiteral("FormTop") : QStringLiteral("FormLeft");
}
} // namespace

OptionsStore::OptionsStore(ISettingsStore& store, Options& options)
    : store_(store), options_(options)
{
}

const OptionsStore::Key& OptionsStore::KeyOf(Option option)
{
    static const Key keys[] = {
        {QStringLiteral("catport"), QStringLiteral("0"), &Options::catPort},
        {QStringLiteral("polltime"), QStringLiteral("1000"), &Options::pollTime},
        {QStringLiteral("midipolltime"), QStringLiteral("100"), &Options::midiPollTime},
        {QStringLiteral("mautoconnect"), QStringLiteral("0"), &Options::autoconnect},
        {QStringLiteral("rigtype"), RigTypes::Of(RigType::Flex).settingsValue, &Options::rigType},
        {QStringLiteral("rigctld"), QStringLiteral("0"), &Options::rigctlOn},
        {QStringLiteral("rigctldport"), QStringLiteral("4532"), &Options::rigctlPort},
        {QStringLiteral("rigctldaddress"), QStringLiteral("127.0.0.1"), &Options::rigctlAddress},
        {QStringLiteral("hamlibmodel"), QString(), &Options::hamlibModel},
        {QStringLiteral("hamlibport"), QString(), &Options::hamlibPort},
        {QStringLiteral("hamlibspeed"), QString(), &Options::hamlibSpeed},
    };
    return keys[static_cast<int>(option)];
}

const QString& OptionsStore::Value(Option option) const
{
    return options_.*KeyOf(option).field;
}

void OptionsStore::Load(Option option)
{
    const Key& key = KeyOf(option);
    options_.*key.field = store_.Read(kSection, key.name, key.defaultValue);
}

void OptionsStore::Store(Option option)
{
    const Key& key = KeyOf(option);
    store_.Write(kSection, key.name, options_.*key.field);
}

void OptionsStore::Set(Option option, const QString& value)
{
    options_.*KeyOf(option).field = value;
    Store(option);
}

double OptionsStore::ReadEdge(Edge edge) const
{
    return NumberText::ParseDecimal(store_.Read(kSection, EdgeKey(edge), QStringLiteral("0")));
}

void OptionsStore::StoreEdges(int topTwips, int leftTwips)
{
    SettingsBatch bothEdges(store_);
    store_.Write(kSection, EdgeKey(Edge::Top), QString::number(topTwips));
    store_.Write(kSection, EdgeKey(Edge::Left), QString::number(leftTwips));
    bothEdges.Commit();
}
