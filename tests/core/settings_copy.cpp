// Another running copy of the program, as far as its settings file goes:
//   settings_copy <file> <prefix> <count>  writes <prefix>1 ... <prefix><count> to
//                                          section "settings", one write each;
//   settings_copy <file> die-locked        takes the file's lock and dies holding it;
//   settings_copy <file> hold-lock         takes the file's lock, says "locked" and
//                                          holds it until a line comes on its input.
#include "core/IniSettingsStore.h"
#include "core/NumberedError.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    IniSettingsStore store(args.value(1));
    if (args.value(2) == QLatin1String("die-locked") || args.value(2) == QLatin1String("hold-lock")) {
        QLockFile lock(store.lockFilePath());
        if (!lock.lock())
            return 1;
        if (args.value(2) == QLatin1String("die-locked"))
            std::_Exit(0);  // no destructor runs: the lock file stays
        std::puts("locked");
        std::fflush(stdout);
        char line[8];
        return std::fgets(line, sizeof line, stdin) ? 0 : 1;
    }
    try {
        for (int i = 1; i <= args.value(3).toInt(); ++i)
            store.Write(QStringLiteral("settings"), args[2] + QString::number(i), QString::number(i));
        store.WritePending();
    } catch (const NumberedError& e) {
        std::fprintf(stderr, "settings_copy: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
