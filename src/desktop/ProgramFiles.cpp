#include "desktop/ProgramFiles.h"

#include <QDir>
#include <QFileInfo>

QString ProgramFiles::Readme(const QString& programFolder)
{
    const QDir folder(programFolder);
    const QString besideProgram = folder.filePath(QStringLiteral("readme.txt"));
    const QString installed = QDir::cleanPath(
        folder.filePath(QStringLiteral(VMC_INSTALLED_DOC_FOLDER "/readme.txt")));
    for (const QString& path : {besideProgram, installed})
        if (QFileInfo(path).isFile())
            return path;
    return besideProgram;
}
