#pragma once

#include <QString>

// A radio to open through Hamlib: the model's number, where the radio is (a
// serial device path, or host:port for a network model; empty for Hamlib's
// default) and the serial speed (0 for the model's default).
struct HamlibConfig {
    int model = 0;
    QString port;
    int speed = 0;
};
