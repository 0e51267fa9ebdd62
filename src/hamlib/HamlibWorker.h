#pragma once

#include "core/IRadio.h"
#include "hamlib/HamlibConfig.h"
#include "hamlib/HamlibPoll.h"
#include "hamlib/HamlibReading.h"
#include "hamlib/HamlibRefusal.h"
#include "hamlib/HamlibRequestQueue.h"
#include "hamlib/HamlibVfo.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class HamlibCommand;
class HamlibRig;
class QTimer;

// The worker-thread half of HamlibLink (which starts the thread, moves the
// worker there and ends both): owns the rig, polls it, carries out requests
// and tells what happened by its signals.
//
// Threads: every public function may be called from any thread, and none
// waits for the radio: each puts its request into the worker's queue, where
// requests take effect in the order they were made. Signals are emitted on
// the worker's thread; HamlibLink relays them to the UI thread.
//
// Failures: an open that fails, or a request or read that finds the radio
// gone (Hamlib's timeout or I/O error, while a frequency read fails too),
// begins a failure episode: failed() once, the rig closed and opened again at
// each poll tick until it answers, then recovered(). Requests that come
// meanwhile are not sent: the first is reported by refused(), the rest are
// counted in the trace. A request that the model or the radio refuses is
// reported by refused(), and the worker goes on.
class HamlibWorker : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultPollMs = 1000;

    HamlibWorker();
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
    // thread and carried out in turn.
    void Send(std::function<HamlibCommand()> build);

    // A wheel step: VFO `vfo` to `hertz`. While the worker is busy only the
    // newest frequency per VFO waits. Returns the step's number (compare
    // HamlibReading::stepSerial).
    quint64 PostStep(HamlibVfo vfo, qint64 hertz);
    // Steps wait to be sent.
    bool StepsWaiting() const { return requests_.StepsWaiting(); }
    // Drops the requests waiting, closes the rig and ends the thread's event
    // loop once the request under way, if any, is done.
    void Stop();

signals:
    // The radio answered its first open; `radio` names model and port,
    // `modes` are the modes it has, in Hamlib's order, and `vfoOperations`
    // the VFO operations it carries out ("XCHG", "CPY").
    void opened(const QString& radio, const QList<RadioMode>& modes, const QStringList& vfoOperations);
    void closed();
    // One poll tick's readings.
    void polled(const HamlibReading& reading);
    // A failure episode begins: which radio, what failed and Hamlib's words for why.
    void failed(const QString& message);
    // The radio answers again after failed().
    void recovered();
    void refused(const HamlibRefusal& refusal);
    // The radio's reply to SendRaw(text, true).
    void rawReplied(const QByteArray& reply);
    // A line for the CAT log: a request and its answer in rigctl notation, an
    // open or close, or the poll's readings when they changed.
    void traced(const QString& line);

private slots:
    // Called by name: the queued call carries nothing of a request.
    void TakeRequests();
    void Finish();

private:
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

    QTimer* pollTimer_;
    HamlibRequestQueue requests_;
    std::unique_ptr<HamlibRig> rig_;
    HamlibPoll poll_;
    bool everOpened_ = false;
    // failed() has been emitted; the next answer ends the episode.
    bool failing_ = false;
    // Requests not sent since the radio was last open, and whether refused()
    // has told of the first.
    int dropped_ = 0;
    bool dropReported_ = false;
    // A refused step has been reported; more refusals are only traced until a step goes through.
    bool stepRefusalShown_ = false;
    quint64 stepSerial_ = 0;
    QString lastSummary_;
};
