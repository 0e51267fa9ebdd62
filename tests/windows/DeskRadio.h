#pragma once

#include <QString>
#include <QStringList>

#include <iostream>
#include <string>

// The radio simulator on the Linux desk that runs this Windows test under
// Wine, reached through COM9 of the Wine prefix. The test asks desk_radio.py,
// which started it, on standard output and reads the answer on standard
// input: the simulator is started (again behind the same COM9) or stopped.
class DeskRadio {
public:
    static constexpr int kCom = 9;

    // False when the desk did not start it; LogPath() is then empty.
    static bool Start(const QStringList& arguments = {})
    {
        return Ask("start " + arguments.join(QLatin1Char(' ')).toStdString(), "ready ", &logPath());
    }
    static bool Stop() { return Ask("stop", "stopped", nullptr); }
    // The simulator's log of the commands it received, one a line: "<ms> <command>".
    static const QString& LogPath() { return logPath(); }

private:
    static QString& logPath()
    {
        static QString path;
        return path;
    }

    static bool Ask(const std::string& request, const std::string& answer, QString* value)
    {
        std::cout << "@radio " << request << std::endl;
        std::string line;
        if (!std::getline(std::cin, line) || line.rfind("@radio " + answer, 0) != 0)
            return false;
        if (value)
            *value = QString::fromStdString(line.substr(answer.size() + 7)).trimmed();
        return true;
    }
};
