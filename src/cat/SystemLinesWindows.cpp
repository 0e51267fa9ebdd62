#include "cat/SystemLines.h"

#include "cat/Win32SerialLine.h"

#include <QCollator>

#include <qt_windows.h>

#include <algorithm>

std::unique_ptr<ICatLine> SystemLines::MakeSerialLine(const ISettingsStore& settings)
{
    return std::make_unique<Win32SerialLine>(settings);
}

QStringList SystemLines::SerialPorts()
{
    // Every serial port the system has, under the name Windows gave it ("COM3").
    QStringList ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t port[64];
        DWORD portBytes = sizeof port - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                          reinterpret_cast<LPBYTE>(port), &portBytes);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        port[portBytes / sizeof(wchar_t)] = L'\0';
        ports << QString::fromWCharArray(port);
    }
    RegCloseKey(key);
    QCollator numbersInOrder;
    numbersInOrder.setNumericMode(true);
    std::sort(ports.begin(), ports.end(), numbersInOrder);
    return ports;
}

QString SystemLines::DefaultDevice(int comNumber)
{
    return QStringLiteral("COM%1").arg(comNumber);
}

qint64 SystemLines::UnsentSocketBytes(qintptr)
{
    // Windows does not say: what Qt still holds is all the program counts.
    return 0;
}
