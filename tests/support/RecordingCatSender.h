#pragma once

#include "core/ICatSender.h"

#include <QStringList>

// Stands in for the CAT link on a line that keeps up: keeps every command
// handed to it, steps included, the empty one too.
class RecordingCatSender : public ICatSender {
public:
    void SendCAT(const QString& command) override { commands.append(command); }
    void SendStep(const QString& command) override { commands.append(command); }
    QStringList commands;
};
