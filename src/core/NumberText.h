#pragma once

#include <QString>
#include <QtGlobal>

// Reading and writing the numbers that travel as text between the key map,
// the radio and the MIDI layer. Texts that are not numbers throw NumberedError 13
// "Type mismatch"; values beyond what the target holds throw NumberedError 6 "Overflow".
class NumberText {
public:
    // Decimal digits with an optional sign and fraction, blanks allowed around.
    static double ParseDecimal(const QString& text);
    // The number at the start of `text`: leading blanks skipped, reading stops at
    // the first character that cannot continue it; no number at all gives 0.
    static double LeadingNumber(const QString& text);
    // Rounds to the nearest integer, a tie to the even neighbour.
    static qint16 ToInt16(double value);
    // A blank in the sign position of a non-negative number, then the digits.
    static QString BlankLed(int value);
};
