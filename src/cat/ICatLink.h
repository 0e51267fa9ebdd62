#pragma once

#include <QString>

// The radio's CAT line as the commands of the program use it (see CatLink).
// UI thread only.
class ICatLink {
public:
    virtual ~ICatLink() = default;
    // The line is open (the radio may still not answer).
    virtual bool IsOpen() const = 0;
    // Writes a command unchanged, after a step still held back.
    virtual void Send(const QString& command) = 0;
    // A wheel's frequency command ("FA00014060010;"): sent at once while the
    // line keeps up; while the line still holds unsent output it waits, and a
    // newer step of the same VFO replaces it, until the line has drained.
    virtual void SendStep(const QString& command) = 0;
};
