#pragma once

#include <QString>

// Where the files that come with the program lie, seen from the folder of
// its executable: beside it in a build or an unpacked copy, or in the
// documentation folder of an installation (share/doc/vorn-midi-connector).
class ProgramFiles {
public:
    // The readme that exists, looked for beside the executable first; when
    // there is none, the path beside the executable (for the message).
    static QString Readme(const QString& programFolder);
};
