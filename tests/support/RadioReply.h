#pragma once

#include <QString>

// The radio's 38-character status reply as the simulator sends it: VFO A in
// eleven digits, RIT and XIT flags in characters 24 and 25, mode in 30.
inline QString IfReply(const QString& vfoA = QStringLiteral("00014060000"), QChar mode = '3',
                       QChar rit = '0', QChar xit = '0')
{
    return QStringLiteral("IF") + vfoA + QStringLiteral("     +0000") + rit + xit + QStringLiteral(" 000")
           + mode + QStringLiteral("000001 ;");
}
