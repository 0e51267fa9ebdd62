#pragma once

#include "core/Vfo.h"
#include "hamlib/HamlibConfig.h"
#include "hamlib/HamlibPoll.h"
#include "hamlib/HamlibReport.h"
#include "hamlib/HamlibRequestQueue.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class HamlibCommand;
class HamlibRig;
class QTimer;

// The worker-thread half of HamlibLink (which starts the thread, moves the
// worker there and ends both): owns the rig, polls it, carries out requests
// and tells what happened through its reporter.
//
// Threads: every public function may be called from any thread, and none
// waits for the radio: each puts its request into the worker's queue, where
// requests take effect in the order they were made. Reports are made on the
// worker's thread; HamlibLink carries them to the UI thread.
//
// Failures: an open that fails, or a request or read that finds the radio
// gone (Hamlib's timeout or I/O error, while a frequency read fails too),
// begins a failure episode: HamlibFailed once, the rig closed and opened
// again at each poll tick until it answers, then HamlibRecovered. Requests
// that come meanwhile are not sent: the first is reported refused, the rest
// are counted in the trace. A request that the model or the radio refuses is
// reported (HamlibRefusal), and the worker goes on.
class HamlibWorker : public QObject {
    Q_OBJECT
public:
    using Reporter = std::function<void(HamlibReport report)>;

    // Polls every `pollMs` (below 1: not at all) once a radio is open.
    HamlibWorker(int pollMs, Reporter report);
    // Once the worker's thread has ended (after Stop()).
    ~HamlibWorker() override;

    // Closes the radio that is open, if any, and opens `config`'s; once it
    // answers, it is read at once and then at every poll tick.
    void Open(const HamlibConfig& config);
    void Close();
    // The poll's interval ("polltime"); below 1 ms the poll stops, and with it
    // the opening again of a radio gone.
    void SetPollInterval(int milliseconds);

    // A request, built by `build` (one of HamlibCommand's) on the worker's
    // thread and carried out in turn; its number (compare
    // HamlibReading::requestSerial).
    quint64 Send(std::function<HamlibCommand()> build);

    // A wheel step: VFO `vfo` to `hertz`. While the worker is busy only the
    // newest frequency per VFO waits. Returns the step's number.
    quint64 PostStep(Vfo vfo, qint64 hertz);
    // Steps wait to be sent.
    bool StepsWaiting() const { return requests_.StepsWaiting(); }
    // Drops the requests waiting, closes the rig and ends the thread's event
    // loop once the request under way, if any, is done.
    void Stop();

signals:
    // Queued to the worker itself (emitted on any thread).
    void requestsWaiting(QPrivateSignal);
    void finishWanted(QPrivateSignal);

private:
    void TakeRequests();
    void Finish();
    void OpenNow(const HamlibConfig& config);
    void CloseNow();
    bool TryOpen();
    void Tick();
    void Poll();
    void SendSteps(const HamlibRequestQueue::Item& batch);
    void Execute(const HamlibCommand& command, bool step);
    bool Ready(const QString& request);
    void Fail(const QString& what);
    void TraceDropped();
    void Trace(const QString& line) { report_(HamlibTraced{line}); }

    Reporter report_;
    QTimer* pollTimer_;
    HamlibRequestQueue requests_;
    std::unique_ptr<HamlibRig> rig_;
    HamlibPoll poll_;
    bool everOpened_ = false;
    // HamlibFailed has been reported; the next answer ends the episode.
    bool failing_ = false;
    // Requests not sent since the radio was last open, and whether the
    // refusal of the first has been reported.
    int dropped_ = 0;
    bool dropReported_ = false;
    // A refused step has been reported; more refusals are only traced until a step goes through.
    bool stepRefusalShown_ = false;
    // The number of the newest request carried out.
    quint64 requestSerial_ = 0;
    QString lastSummary_;
};
