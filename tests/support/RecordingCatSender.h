#pragma once

#include "core/ICatSender.h"

#include <QStringList>

// Stands in for the CAT link: keeps every command handed to it, the empty one included.
class RecordingCatSender : public ICatSender {
public:
    void SendCAT(const QString& command) override { commands.append(command); }
    QStringList commands;
};
