#include "cat/PortAddress.h"

#include "core/ISettingsStore.h"

QString PortAddress::DefaultDevice(int comNumber)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(comNumber);
#else
    return QStringLiteral("/dev/ttyUSB%1").arg(comNumber - 1);
#endif
}

QString PortAddress::For(const ISettingsStore& settings, int comNumber)
{
    return settings.Read(Section(), KeyFor(comNumber), DefaultDevice(comNumber));
}

bool PortAddress::IsNetwork(const QString& address)
{
    return address.trimmed().startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive);
}
