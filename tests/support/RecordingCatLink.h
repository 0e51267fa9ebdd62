#pragma once

#include "cat/ICatLink.h"

#include <QStringList>

// Stands in for the CAT link on an open line that keeps up: keeps every
// command written, steps included, the empty one too.
class RecordingCatLink : public ICatLink {
public:
    bool IsOpen() const override { return true; }
    void Send(const QString& command) override { commands.append(command); }
    void SendStep(const QString& command) override { commands.append(command); }
    QStringList commands;
};
