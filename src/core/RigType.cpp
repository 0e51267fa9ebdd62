#include "core/RigType.h"

#include <algorithm>

const QList<RigTypes::Info>& RigTypes::All()
{
    const QString cat = QStringLiteral("CAT Commands");
    static const QList<Info> all = {
        {RigType::Elecraft, QStringLiteral("elecraft"), QLatin1Char('e'), QStringLiteral("Elecraft"),
         QStringLiteral("&Elecraft"), cat, Routine::ChooseElecraft, Routine::LoadElecraftKeyMap,
         Routine::SaveElecraftKeyMap},
        {RigType::Flex, QStringLiteral("flex"), QLatin1Char('f'), QStringLiteral("Flex"), QStringLiteral("&Flex"),
         cat, Routine::ChooseFlex, Routine::LoadFlexKeyMap, Routine::SaveFlexKeyMap},
        // Its text entries are the commands of Hamlib's rigctl ("S 1 VFOB").
        {RigType::Hamlib, QStringLiteral("hamlib"), QLatin1Char('h'), QStringLiteral("Hamlib"),
         QStringLiteral("&Other Radio (Hamlib)..."), QStringLiteral("rigctl Commands"), Routine::ChooseHamlib,
         Routine::LoadHamlibKeyMap, Routine::SaveHamlibKeyMap},
    };
    return all;
}

const RigTypes::Info& RigTypes::Of(RigType type)
{
    return All()[static_cast<int>(type)];
}

std::optional<RigType> RigTypes::FromSetting(const QString& text)
{
    const auto found = std::find_if(All().begin(), All().end(),
                                    [&](const Info& info) { return info.settingsValue == text; });
    return found == All().end() ? std::nullopt : std::optional<RigType>(found->type);
}
