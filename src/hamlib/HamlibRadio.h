#pragma once

#include "core/IRadio.h"
#include "core/RadioStateKeeper.h"
#include "hamlib/HamlibReport.h"

#include <functional>

class HamlibCommand;
class HamlibLink;
class ILogSink;

// A radio reached through Hamlib: each operation becomes a request to the
// link's worker, and the link's reports move the radio's state and the CAT
// log. Wheel steps go through the link's step slot, so the newest frequency
// of a VFO replaces one still waiting. A request the radio refuses is one
// line in the log; a radio gone is one line, and not answering until it
// answers again. UI thread only.
class HamlibRadio : public IRadio {
    Q_OBJECT
public:
    HamlibRadio(HamlibLink& link, ILogSink& log, QObject* parent = nullptr);

    const RadioState& State() const override { return state_.Get(); }
    QList<RadioMode> Modes() const override { return modes_; }
    RadioAbilities Abilities() const override { return abilities_; }
    void StepFrequency(Vfo vfo, qint64 hertz) override;
    void SetFrequency(Vfo vfo, qint64 hertz) override;
    // Through the model's VFO operation, or where it has none by setting both
    // frequencies as the poll last read them.
    void SwapVfos() override;
    void CopyVfoAToB() override;
    // The next of the modes the model lists.
    void StepMode() override;
    bool SetMode(const QByteArray& name, long passbandHz) override;
    void SetSplit(bool on) override;
    void SetTransmit(bool on) override;
    void SendText(const QString& text) override;
    bool SetRit(int hertz) override;
    bool SetXit(int hertz) override;
    bool SetFunction(const QByteArray& name, bool on) override;
    bool SetLevel(const QByteArray& name, double value) override;
    bool RunVfoOperation(const QByteArray& name) override;

    // Forgets what the last radio said: it is not answering until it has.
    void Reset();

private:
    void Request(std::function<HamlibCommand()> build);
    void Take(const HamlibReport& report);
    void TakeReading(const HamlibReading& reading);
    // The model's VFO operation `name`, or where it has none both frequencies set.
    void RunOrSetBoth(const QByteArray& operation, qint64 toA, qint64 toB);

    HamlibLink& link_;
    ILogSink& log_;
    RadioStateKeeper state_;
    QList<RadioMode> modes_;
    RadioAbilities abilities_;
    // The number of the newest request made: a poll read before it was
    // carried out is older than the program's copy.
    quint64 newestRequest_ = 0;
};
