#pragma once

#include <QString>

class IAlerts;
class ILamp;
struct Options;
struct RadioState;

// Takes each reply of the radio into the radio state, and keeps what the
// commands need of the replies in the radio's own words: copying or swapping
// the VFOs sends the frequencies of the last replies as the radio wrote them,
// and the mode step counts from the radio's own digit. UI thread only.
class CatParser {
public:
    CatParser(RadioState& state, ILamp& catLamp, IAlerts& alerts, const Options& options);

    // `reply` is one whole reply, ";" included. A reply that is not `current`
    // answers a query that commands sent later have overtaken (the wheel moved
    // on meanwhile): it proves the link, but the values the program holds are
    // newer than its own.
    void Take(const QString& reply, bool current = true);
    // The radio's mode is now `digit` (a mode command went out).
    void TakeModeDigit(const QString& digit);

    // The last whole status reply, the last FB reply, the mode digit.
    const QString& statusReply() const { return statusReply_; }
    const QString& vfoBReply() const { return vfoBReply_; }
    const QString& modeDigit() const { return modeDigit_; }

private:
    void TakeStatus(const QString& reply, bool current);
    void TakeVfoB(const QString& reply, bool current);

    RadioState& state_;
    ILamp& catLamp_;
    IAlerts& alerts_;
    const Options& options_;
    QString statusReply_;
    QString vfoBReply_;
    QString modeDigit_;
};
