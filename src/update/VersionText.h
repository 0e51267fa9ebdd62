#pragma once

#include <QString>

// Version texts of the form major.minor.revision (any number of parts).
// They are compared number by number, so 1.1.10 is newer than 1.1.9 and
// 1.2 newer than 1.1.5; missing parts count as 0.
class VersionText {
public:
    // True for one or more runs of decimal digits joined by single dots.
    static bool IsNumbersAndDots(const QString& text);
    // True only when both texts are well formed and `offered` is greater.
    static bool IsNewer(const QString& offered, const QString& running);

private:
    static int CompareParts(const QString& a, const QString& b);
};
