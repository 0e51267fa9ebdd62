#pragma once

#include "ProgramUnderTest.h"

#include <QRandomGenerator>

class BoxWatch;
class NetworkNuisance;
class SettingsFile;
class SoakReport;
class StationRadio;
class SurfaceController;

// Everything on the operator's desk that a fault touches, owned by the run.
struct Station {
    QRandomGenerator& random;
    SoakReport& report;
    ProgramUnderTest& program;
    StationRadio& radio;
    SurfaceController& controller;
    BoxWatch& boxes;
    SettingsFile& settings;
    NetworkNuisance& nuisance;
    quint16 rigctlPort;
    qint64 startHz;

    // VFO A as the steps the program acted on put it.
    qint64 ExpectedVfoA() const { return startHz + program.StepsHz(); }
};
