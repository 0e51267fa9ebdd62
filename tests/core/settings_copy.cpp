// Another running copy of the program, as far as its settings file goes:
//   settings_copy <file> <prefix> <count>  writes <prefix>1 ... <prefix><count> to
//                                          section "settings", one write each;
//   settings_copy <file> die-locked        takes the file's lock and dies holding it.
#include "core/IniSettingsStore.h"

#include <QCoreApplication>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    IniSettingsStore store(args.value(1));
    if (args.value(2) == QLatin1String("die-locked")) {
        QLockFile lock(store.lockFilePath());
        std::_Exit(lock.lock() ? 0 : 1);  // no destructor runs: the lock file stays
    }
    for (int i = 1; i <= args.value(3).toInt(); ++i)
        store.Write(QStringLiteral("settings"), args[2] + QString::number(i), QString::number(i));
    return 0;
}
