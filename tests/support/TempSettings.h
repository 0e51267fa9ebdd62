#pragma once

#include "core/IniSettingsStore.h"

#include <QTemporaryDir>

// A settings store in a fresh temporary folder; no test touches the user's real settings.
class TempSettings {
public:
    TempSettings() : store(dir.path() + QStringLiteral("/vorn-midi-connector.ini")) {}
    QTemporaryDir dir;
    IniSettingsStore store;
};
