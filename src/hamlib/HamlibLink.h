#pragma once

#include "core/Vfo.h"
#include "hamlib/HamlibConfig.h"
#include "hamlib/HamlibOutbox.h"
#include "hamlib/HamlibReport.h"
#include "hamlib/HamlibWorker.h"

#include <QObject>
#include <QThread>
#include <functional>

class HamlibCommand;

// The program's road to a radio through Hamlib. The radio is handled by a
// HamlibWorker on a thread of its own, started here and ended with this
// object; requests go to it through its queue and its reports come back here
// through an outbox, one signal for all of them.
// UI thread only: no function waits for the radio (but the destructor, see
// there), and the signal is emitted on the UI thread.
// What the worker does with requests, polls and failures: HamlibWorker.h.
class HamlibLink : public QObject {
    Q_OBJECT
public:
    explicit HamlibLink(int pollMs, QObject* parent = nullptr);
    // Drops the requests waiting, waits for the one under way (with a radio
    // gone quiet: its timeouts, a few seconds at worst), closes the rig on
    // the worker's thread and joins that thread.
    ~HamlibLink() override;

    // The requests, each carried out by HamlibWorker's function of the same
    // name (see there for what each does); none waits for the radio.
    void Open(const HamlibConfig& config) { worker_->Open(config); }
    void Close() { worker_->Close(); }
    void SetPollInterval(int milliseconds) { worker_->SetPollInterval(milliseconds); }
    // Each request's number (compare HamlibReading::requestSerial).
    quint64 Send(std::function<HamlibCommand()> build) { return worker_->Send(std::move(build)); }
    // A wheel step, in place of one of the same VFO still waiting. Safe from any thread.
    quint64 PostStep(Vfo vfo, qint64 hertz) { return worker_->PostStep(vfo, hertz); }
    bool StepsWaiting() const { return worker_->StepsWaiting(); }

signals:
    // Each of the worker's reports, in the order the worker made them.
    void reported(const HamlibReport& report);
    // Queued to the UI thread (emitted on the worker's): reports wait in the outbox.
    void reportsWaiting(QPrivateSignal);

private:
    void TakeReports();

    HamlibOutbox outbox_;
    QThread thread_;
    HamlibWorker* worker_;
};
