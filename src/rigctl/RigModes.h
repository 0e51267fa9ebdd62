#pragma once

#include <QByteArray>
#include <QString>

// The radio's mode digits of each rig type under Hamlib's mode names, with the
// normal passband of each mode and the rig type's command for a filter width.
// An unknown rig type knows no modes.
class RigModes {
public:
    // Hamlib's name of the mode `digit`, or empty when the rig type has no such mode.
    static QByteArray Name(const QString& rigtype, const QString& digit);
    // The mode digit of Hamlib's mode `name`, or empty when the rig type has no such mode.
    static QString Digit(const QString& rigtype, const QByteArray& name);
    static bool Knows(const QString& rigtype);
    // The passband reported for a mode; the poll does not read the filter.
    static int NormalPassband(const QString& rigtype, const QByteArray& name);
    // Hamlib's bit mask of every mode of the rig type.
    static quint64 Mask(const QString& rigtype);
    // Hamlib's bit mask of the modes whose normal passband is `hertz`.
    static quint64 MaskWithPassband(const QString& rigtype, int hertz);
    // The command that sets the receive filter to `hertz`, or empty when the
    // rig type's filters are not set by width.
    static QString PassbandCommand(const QString& rigtype, int hertz);
};
