#pragma once

#include <QByteArray>
#include <QList>
#include <vector>

// The roads from the program to a radio that the benchmarks compare, each by
// its name on the command line: the program's own CAT link to the radio
// simulator with either map; Hamlib's NET rigctl (model 2) to rigctld serving
// Hamlib's dummy rig, through a LineTap that stamps each request on the wire;
// Hamlib's Kenwood TS-480 driver (model 2028) to the radio simulator. The
// Hamlib rig type's wheel does what the Flex map's does (VFO A, 10 Hz a click).
struct BenchRoad {
    const char* name;
    const char* rigtype;
    int hamlibModel;  // 0: the program's own CAT link
    const char* label;
    // What a frequency command takes to cross the line to the radio (0 on TCP).
    double frequencyCommandMs;

    static constexpr int kNetRigctl = 2;

    static const std::vector<BenchRoad>& All()
    {
        // Characters of ten bits at 38400 baud: "FA00014060010;" and "UP1;".
        constexpr double frequencyMs = 14 * 10 * 1000.0 / 38400, upMs = 4 * 10 * 1000.0 / 38400;
        static const std::vector<BenchRoad> roads{
            {"flex", "flex", 0, "CAT link, Flex map", frequencyMs},
            {"elecraft", "elecraft", 0, "CAT link, Elecraft map", upMs},
            {"rigctld", "hamlib", kNetRigctl, "Hamlib NET rigctl, rigctld -m 1", 0},
            {"ts480", "hamlib", 2028, "Hamlib TS-480 driver, simulator", frequencyMs},
        };
        return roads;
    }
    static const BenchRoad* Named(const QByteArray& name)
    {
        for (const BenchRoad& road : All())
            if (name == road.name)
                return &road;
        return nullptr;
    }
    // The roads of a list such as "flex,rigctld", in its order; empty when one is unknown.
    static std::vector<BenchRoad> List(const QByteArray& names)
    {
        std::vector<BenchRoad> roads;
        for (const QByteArray& name : names.split(','))
            if (const BenchRoad* road = Named(name))
                roads.push_back(*road);
            else
                return {};
        return roads;
    }
};
