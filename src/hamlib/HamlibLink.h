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

    // Closes the radio that is open, if any, and opens `config`'s; once it
    // answers, it is read at once and then at every poll tick.
    void Open(const HamlibConfig& config);
    void Close();
    // The poll's interval ("polltime", HamlibWorker::kDefaultPollMs until
    // set); below 1 ms the poll stops, and with it the opening again of a
    // radio gone.
    void SetPollInterval(int milliseconds);

    void SetFrequency(HamlibVfo vfo, qint64 hertz);
    // Hamlib's VFO operations by name: XCHG, CPY, TOGGLE, UP, ... One the
    // model lacks is refused as unavailable, so the caller can do without.
    void VfoOperation(const QString& name);
    // `passband` in Hz: 0 for the mode's normal one, -1 to keep the radio's.
    void SetMode(const QString& name, qint64 passband);
    // Levels by Hamlib's name: RFPOWER 0..1, KEYSPD in WPM, any other.
    void SetLevel(const QString& name, double value);
    // Functions by Hamlib's name: NB, RIT, XIT, ...
    void SetFunction(const QString& name, bool on);
    void SetSplit(bool on, HamlibVfo txVfo);
    void SetTransmit(bool on);
    void SetRit(qint64 hertz);
    void SetXit(qint64 hertz);
    // The radio's own text, e.g. "FA;". With `expectReply` the reply (read up
    // to the text's last character) comes by rawReplied(). Refused on NET rigctl.
    void SendRaw(const QByteArray& text, bool expectReply);

    // A wheel step: VFO `vfo` to `hertz`. While the worker is busy only the
    // newest frequency per VFO waits. Returns the step's number (compare
    // HamlibReading::stepSerial). Safe from any thread.
    quint64 PostStep(HamlibVfo vfo, qint64 hertz);
    // Steps wait to be sent.
    bool StepsWaiting() const;

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
    // Called by name from the worker's thread: the call carries no report.
    void TakeReports();

private:
    template <typename... Args>
    void Relay(void (HamlibWorker::*signal)(Args...), void (HamlibLink::*relayed)(Args...));

    HamlibOutbox outbox_;
    QThread thread_;
    HamlibWorker* worker_;
};
