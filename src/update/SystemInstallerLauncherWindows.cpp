#include "update/SystemInstallerLauncher.h"

#include <QDir>

#include <qt_windows.h>
#include <shellapi.h>

bool SystemInstallerLauncher::Launch(const QString& fileName, const QString& parameters,
                                     const QString& directory)
{
    const QString program = QDir::toNativeSeparators(QDir(directory).absoluteFilePath(fileName));
    const QString folder = QDir::toNativeSeparators(directory);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // Returns once the installer has started (or the user has refused the
    // elevation prompt), without a box of the shell's own for a failure.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = reinterpret_cast<LPCWSTR>(program.utf16());
    info.lpParameters = reinterpret_cast<LPCWSTR>(parameters.utf16());
    info.lpDirectory = reinterpret_cast<LPCWSTR>(folder.utf16());
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}
