#pragma once

#include <QString>

// What the program needs of the desktop it runs on, where Linux and Windows
// differ: the user's own settings file, the text viewer for the readme, and a
// console to answer --help in. Each platform has its own source file.
class DesktopPlatform {
public:
    // The user's own settings file of the program `applicationName`:
    // $XDG_CONFIG_HOME/<name>.ini (~/.config when unset) on Linux,
    // %APPDATA%\<name>.ini on Windows.
    static QString SettingsFile(const QString& applicationName);
    // The same as the help text writes it, for the user to find.
    static QString SettingsFileText(const QString& applicationName);
    // Shows a text file in the desktop's viewer; false when none could open it.
    static bool OpenTextFile(const QString& path);
    // A program started from a console writes its answers (--help, a second
    // copy refused) there, and the console's Ctrl+C reaches it. Call first.
    static void UseParentConsole();
};
