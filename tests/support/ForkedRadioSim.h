#pragma once

#include "support/ForkedProcess.h"

#include <QFile>
#include <QTemporaryDir>

// The radio simulator on its pseudo-terminal (as support/RadioSimProcess.h
// runs it, but forked: see ForkedProcess.h), logging every command.
struct ForkedRadioSim {
    bool Start(const QStringList& arguments = {})
    {
        return process.Start(qEnvironmentVariable("VMC_RADIOSIM"), QStringList(arguments) << "--log" << log) &&
               !(pty = process.FirstLine()).isEmpty();
    }
    bool Received(const QString& command) const
    {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) && QString::fromLatin1(file.readAll()).contains(' ' + command + '\n');
    }

    QTemporaryDir dir;
    const QString log = dir.filePath("radiosim.log");
    QString pty;
    ForkedProcess process;
};
