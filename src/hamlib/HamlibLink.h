#pragma once

#include "core/IRadio.h"
#include "hamlib/HamlibConfig.h"
#include "hamlib/HamlibOutbox.h"
#include "hamlib/HamlibReading.h"
#include "hamlib/HamlibRefusal.h"
#include "hamlib/HamlibVfo.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <functional>

class HamlibCommand;
class HamlibWorker;

// The program's road to a radio through Hamlib. The radio is handled by a
// HamlibWorker on a thread of its own, started here and ended with this
// object; requests go to it through its queue and its reports come back here,
// where they are emitted as this object's signals.
// UI thread only: no function waits for the radio (but the destructor, see
// there), and every signal is emitted on the UI thread.
// What the worker does with requests, polls and failures: HamlibWorker.h.
class HamlibLink : public QObject {
    Q_OBJECT
public:
    explicit HamlibLink(QObject* parent = nullptr);
    // Drops the requests waiting, waits for the one under way (with a radio
    // gone quiet: its timeouts, a few seconds at worst), closes the rig on
    // the worker's thread and joins that thread.
    ~HamlibLink() override;

    // The requests, each carried out by HamlibWorker's function of the same
    // name (see there for what each does); none waits for the radio.
    void Open(const HamlibConfig& config);
    void Close();
    void SetPollInterval(int milliseconds);
    void Send(std::function<HamlibCommand()> build);
    // A wheel step, in place of one of the same VFO still waiting; its number
    // (compare HamlibReading::stepSerial). Safe from any thread.
    quint64 PostStep(HamlibVfo vfo, qint64 hertz);
    bool StepsWaiting() const;

signals:
    // HamlibWorker's reports, emitted here on the UI thread (see there).
    void opened(const QString& radio, const QList<RadioMode>& modes, const QStringList& vfoOperations);
    void closed();
    void polled(const HamlibReading& reading);
    void failed(const QString& message);
    void recovered();
    void refused(const HamlibRefusal& refusal);
    void rawReplied(const QByteArray& reply);
    void traced(const QString& line);

private slots:
    // Called by name from the worker's thread: the call carries no report.
    void TakeReports();

private:
    template <typename... Args>
    void Relay(void (HamlibWorker::*signal)(Args...), void (HamlibLink::*relayed)(Args...));

    HamlibOutbox outbox_;
    QThread thread_;
    HamlibWorker* worker_;
};
