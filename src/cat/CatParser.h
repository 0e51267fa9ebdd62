#pragma once

#include <QString>

class IAlerts;
class IIndicator;
struct RadioState;

// Interprets one reply of the radio (ParseCAT) and updates the program's copy
// of the radio state. Replies are told apart by their first two characters only.
class CatParser {
public:
    static constexpr int kIfReplyLength = 38;

    CatParser(RadioState& state, IIndicator& catLamp, IAlerts& alerts);

    // `catmessage` is one whole reply, ";" included. A reply that is not
    // `current` answers a query that commands sent later have overtaken (the
    // wheel moved on meanwhile): it proves the link, but the values the
    // program holds are newer than its own.
    void ParseCAT(const QString& catmessage, bool current = true);

private:
    void TakeIf(const QString& reply, bool current);
    void TakeFb(const QString& reply, bool current);

    RadioState& state_;
    IIndicator& catLamp_;
    IAlerts& alerts_;
};
