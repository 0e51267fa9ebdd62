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

    // `catmessage` is one whole reply, ";" included.
    void ParseCAT(const QString& catmessage);

private:
    void TakeIf(const QString& reply);
    void TakeFb(const QString& reply);

    RadioState& state_;
    IIndicator& catLamp_;
    IAlerts& alerts_;
};
