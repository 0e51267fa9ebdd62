// Stands in for a downloaded installer: writes the folder it was started in
// and its arguments to "report" beside itself, and ends.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QSaveFile report(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("report")));
    if (!report.open(QIODevice::WriteOnly))
        return 1;
    QStringList arguments = QCoreApplication::arguments().mid(1);
    arguments.prepend(QString::number(arguments.size()));
    report.write((QDir::currentPath() + QLatin1Char('\n') + arguments.join(QLatin1Char(':')) + QLatin1Char('\n')).toUtf8());
    return report.commit() ? 0 : 1;
}
