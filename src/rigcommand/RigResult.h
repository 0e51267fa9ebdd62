#pragma once

#include <QByteArray>
#include <QString>

// Hamlib's result codes as rigctl and rigctld give them ("RPRT -11"), and the
// texts Hamlib has for the ones the program answers with.
class RigResult {
public:
    static constexpr int kOk = 0;
    static constexpr int kInvalid = -1;
    static constexpr int kIoError = -6;
    static constexpr int kProtocol = -8;
    static constexpr int kNotAvailable = -11;

    // Hamlib's text ("Invalid parameter"); Hamlib's codes are negative, either sign is taken.
    static QString Text(int code);
    // "RPRT -11", without a line end.
    static QByteArray Report(int code);
};
