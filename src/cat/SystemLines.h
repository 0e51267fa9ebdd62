#pragma once

#include "cat/ICatLine.h"

#include <QString>
#include <QStringList>
#include <memory>

class ISettingsStore;

// What the operating system gives the CAT link, where Linux and Windows
// differ: the serial line (QSerialPort's on Linux, the program's own over the
// Win32 API on Windows), the serial ports the system lists, the device a COM
// number stands for when [ports] names none, and what a connected socket
// still holds unsent. Each platform has its own source file.
class SystemLines {
public:
    static std::unique_ptr<ICatLine> MakeSerialLine(const ISettingsStore& settings);
    // The ports as a user would type them: "/dev/ttyUSB0", "COM3".
    static QStringList SerialPorts();
    // /dev/ttyUSB<N-1> on Linux (COM1 is /dev/ttyUSB0), COM<N> on Windows.
    static QString DefaultDevice(int comNumber);
    // Bytes a connected socket has taken but the other end not yet; 0 where
    // the system does not say.
    static qint64 UnsentSocketBytes(qintptr socket);
};
