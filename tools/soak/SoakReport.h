#pragma once

#include <QString>
#include <QStringList>

// The verdict of a soak: a line per check and the figures, printed as they
// come, and the closing line that counts them.
class SoakReport {
public:
    void Check(bool passed, const QString& what, const QString& why = {});
    void Figure(const QString& line);
    void Note(const QString& line);
    // The closing line; true when every check passed.
    bool Close(const QString& run);

    int failed() const { return failed_; }

private:
    static void Print(const QString& line);

    int passed_ = 0;
    int failed_ = 0;
};
