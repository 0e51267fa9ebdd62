#pragma once

#include <QString>

// Starts a downloaded installer with administrator rights.
class IInstallerLauncher {
public:
    virtual ~IInstallerLauncher() = default;
    // `fileName` is the installer's bare name inside `directory`, which is
    // also the installer's working folder. False when it could not be started.
    virtual bool Launch(const QString& fileName, const QString& parameters,
                        const QString& directory) = 0;
};
