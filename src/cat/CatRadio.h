#pragma once

#include "cat/ICatReplies.h"
#include "core/IRadio.h"
#include "core/RadioStateKeeper.h"

class IAlerts;
class ICatLink;
struct Options;

// An Elecraft or Flex radio on the program's own CAT link: each operation
// becomes the rig type's text (CatDialect) and goes to the radio through the
// link; each reply the link reads moves the radio's state. The copy and swap
// of the VFOs and the mode step send the radio's own words of its last
// replies. UI thread only.
class CatRadio : public IRadio, public ICatReplies {
    Q_OBJECT
public:
    // `link` is only kept here: the link may be made after the radio.
    CatRadio(ICatLink& link, IAlerts& alerts, const Options& options, QObject* parent = nullptr);

    const RadioState& State() const override { return state_.Get(); }
    QList<RadioMode> Modes() const override;
    RadioAbilities Abilities() const override;
    void StepFrequency(Vfo vfo, qint64 hertz) override;
    void SetFrequency(Vfo vfo, qint64 hertz) override;
    void SwapVfos() override;
    void CopyVfoAToB() override;
    void StepMode() override;
    bool SetMode(const QByteArray& name, long passbandHz) override;
    void SetSplit(bool on) override;
    void SetTransmit(bool on) override;
    void SendText(const QString& text) override;
    // The maps' own texts set offsets; a network client's requests for them are refused.
    bool SetRit(int) override { return false; }
    bool SetXit(int) override { return false; }
    bool SetFunction(const QByteArray& name, bool on) override;
    bool SetLevel(const QByteArray& name, double value) override;
    bool RunVfoOperation(const QByteArray& name) override;

    void TakeReply(const QString& reply, bool current) override;
    void TakeRefusal(const QByteArray& query) override;
    void TakeSilence() override;

    // The last whole status reply, the last FB reply, the mode digit.
    const QString& statusReply() const { return statusReply_; }
    const QString& vfoBReply() const { return vfoBReply_; }
    const QString& modeDigit() const { return modeDigit_; }

private:
    void TakeStatus(const QString& reply, bool current);
    void TakeVfoB(const QString& reply, bool current);
    // Hamlib's name of the radio's mode `digit`; empty for none the program knows.
    QByteArray ModeName(const QString& digit) const;
    void SendMode(const QString& digit);

    ICatLink& link_;
    IAlerts& alerts_;
    const Options& options_;
    RadioStateKeeper state_;
    QString statusReply_;
    QString vfoBReply_;
    QString modeDigit_;
};
