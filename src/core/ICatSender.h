#pragma once

#include <QString>

// The one road to the radio (see CatLink).
class ICatSender {
public:
    virtual ~ICatSender() = default;
    // Writes a CAT command unchanged, after a step still held back.
    virtual void SendCAT(const QString& command) = 0;
    // A wheel's frequency command ("FA00014060010;"): sent at once while the
    // line keeps up; while the line still holds unsent output it waits, and a
    // newer step of the same VFO replaces it, until the line has drained.
    virtual void SendStep(const QString& command) = 0;
};
