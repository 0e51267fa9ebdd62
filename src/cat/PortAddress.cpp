#include "cat/PortAddress.h"

#include "cat/SystemLines.h"
#include "core/ISettingsStore.h"

QString PortAddress::For(const ISettingsStore& settings, int comNumber)
{
    return settings.Read(Section(), KeyFor(comNumber), SystemLines::DefaultDevice(comNumber));
}

bool PortAddress::IsNetwork(const QString& address)
{
    return address.trimmed().startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive);
}
