#pragma once

#include "Station.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <functional>

// The faults of a station, one at a time at random moments: the radio
// switched off and on again (sometimes with noise on the line), the
// controller unplugged and plugged back, a client that floods the network
// rig control, one that leaves mid-request, a MIDI message without a map
// entry (a box), the settings file edited by hand. Each is checked as it
// happens; what it found is told at the end.
class FaultRunner : public QObject {
    Q_OBJECT
public:
    enum class Kind { RadioRestart, Unplug, Flood, HalfRequest, Box, SettingsEdit };
    static constexpr int kKinds = 6;

    FaultRunner(Station& station, int runMs, QObject* parent = nullptr);

    void Start();
    // No fault after the one going on; `then` once it is over.
    void Finish(std::function<void()> then);
    void Report() const;

private:
    void ScheduleNext();
    void Run(Kind kind);
    void Done();
    // Counts `what` under `kind`; a miss is also noted with the time.
    void Count(const QString& what, bool ok, const QString& detail = {});

    void RestartRadio();
    // Until the radio's VFO A is the counted one, or `triesLeft` reads have passed.
    void AwaitRadioAt(int triesLeft, std::function<void(qint64)> then);
    void AwaitProgramFrequency(std::function<bool(std::optional<qint64>)> wanted, int triesLeft,
                               std::function<void(bool)> then);
    void SwitchRadioOn(qint64 vfoAHz);
    void UnplugController();
    void PlugControllerBack(int triesLeft);
    void Flood();
    void LeaveMidRequest();
    void RaiseBox();
    void EditSettings();

    Station& s_;
    int pauseMs_;
    QList<Kind> firstRound_;
    bool finishing_ = false;
    bool busy_ = false;
    std::function<void()> finished_;
    QHash<Kind, int> done_;
    // "what" -> {ok, missed}
    QMap<QString, QPair<int, int>> counts_;
};
