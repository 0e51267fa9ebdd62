// Another running copy of the program, as far as its settings file goes.
//   settings_copy <file> write <prefix> <count>   writes <prefix>1 ... <prefix><count>
//                                                 to section "settings", one write each
//   settings_copy <file> die-locked               takes the file's lock and dies holding it
#include "core/IniSettingsStore.h"
#include "core/VbError.h"

#include <QCoreApplication>
#include <QLockFile>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    IniSettingsStore store(args[1]);
    if (args[2] == QLatin1String("die-locked")) {
        QLockFile lock(store.lockFilePath());
        if (!lock.lock())
            return 3;
        std::_Exit(0);  // no destructor runs: the lock file stays, as after a crash
    }
    if (args[2] != QLatin1String("write") || args.size() != 5)
        return 2;
    try {
        for (int i = 1; i <= args[4].toInt(); ++i)
            store.Write(QStringLiteral("settings"), args[3] + QString::number(i), QString::number(i));
    } catch (const VbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
