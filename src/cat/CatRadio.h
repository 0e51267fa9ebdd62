#pragma once

#include "core/IRadio.h"

class CatParser;
class ICatLink;
struct Options;
struct RadioState;

// An Elecraft or Flex radio on the program's own CAT link: each operation
// becomes the rig type's text (CatDialect) and goes to the radio through the
// link. UI thread only.
class CatRadio : public IRadio {
public:
    // The copy and swap of the VFOs and the mode step take the parser's
    // record of the last replies.
    CatRadio(ICatLink& link, CatParser& parser, RadioState& state, const Options& options);

    bool LinkUp() const override;
    QList<RadioMode> Modes() const override;
    void StepFrequency(Vfo vfo, qint64 hertz) override;
    void SetFrequency(Vfo vfo, qint64 hertz) override;
    void SwapVfos() override;
    void CopyVfoAToB() override;
    void StepMode() override;
    bool SetMode(const QByteArray& name, long passbandHz) override;
    void SetPower(int percent) override;
    void SetCwSpeed(int wordsPerMinute) override;
    void SetSplit(bool on) override;
    void SetTransmit(bool on) override;
    void SendText(const QString& text) override;
    // The maps' own texts do these; a network client's requests for them are refused.
    bool SetRit(int) override { return false; }
    bool SetXit(int) override { return false; }
    bool SetFunction(const QByteArray&, bool) override { return false; }
    bool SetLevel(const QByteArray&, double) override { return false; }
    bool RunVfoOperation(const QByteArray&) override { return false; }

private:
    qint64& CopyOf(Vfo vfo);
    void SendMode(const QString& digit);

    ICatLink& link_;
    CatParser& parser_;
    RadioState& state_;
    const Options& options_;
};
