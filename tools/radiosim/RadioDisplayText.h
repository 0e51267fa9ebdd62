#pragma once

#include <QByteArray>
#include <QString>

// How the front panel writes the radio's state: frequencies in MHz with the
// kHz and Hz groups apart, modes by digit and name, commands as they came.
class RadioDisplayText {
public:
    // "00014060010" -> "14.060 010"; a value that is no number is shown as it stands.
    static QString Megahertz(const QByteArray& hz);
    // '3' -> "3 CW"; a digit without a mode of its own is shown alone.
    static QString Mode(char digit);
    // The command with its ";" back, as the line carried it.
    static QString Command(const QByteArray& command);
    // Bytes that are not printable ASCII show as <hex>, so line noise stays readable.
    static QString Printable(const QByteArray& bytes);
    static QString OnOff(bool on);
};
