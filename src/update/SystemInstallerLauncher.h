#pragma once

#include "update/IInstallerLauncher.h"

// Windows: ShellExecute with the "runas" verb, which raises the UAC prompt.
// Elsewhere: through pkexec when it is installed, otherwise a plain start.
class SystemInstallerLauncher : public IInstallerLauncher {
public:
    bool Launch(const QString& fileName, const QString& parameters,
                const QString& directory) override;
};
