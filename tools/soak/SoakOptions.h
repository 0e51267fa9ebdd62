#pragma once

#include <QString>
#include <QStringList>

// How the program reaches its radio in a soak: its own CAT link to the
// simulator, Hamlib's TS-480 driver on the simulator, Hamlib's NET rigctl to
// a rigctld, or its own CAT link to the simulator over TCP.
enum class Road { Cat, Hamlib, Rigctld, Tcp };

// The soak's command line:
//   vmc-soak --program EXE --radiosim EXE --dir DIR [--minutes M] [--road R] [--seed N]
// R: cat, hamlib, rigctld or tcp.
struct SoakOptions {
    double minutes = 30;
    Road road = Road::Cat;
    quint32 seed = 0;
    QString program;
    QString radiosim;
    QString dir;

    // False with `error` set when the command line cannot be used.
    static bool Parse(const QStringList& arguments, SoakOptions& options, QString& error);
    static QString RoadName(Road road);
    int DurationMs() const { return int(minutes * 60000); }
};
