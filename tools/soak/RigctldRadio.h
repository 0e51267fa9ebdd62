#pragma once

#include "StationRadio.h"

#include <QProcess>
#include <memory>

// Hamlib's rigctld with its dummy radio on a port of its own, which the
// program reaches as NET rigctl. Started again on the same port, it is set to
// the frequency it had before the program gets to it.
class RigctldRadio : public StationRadio {
    Q_OBJECT
public:
    RigctldRadio(const QString& dir, quint16 port, QObject* parent = nullptr);
    ~RigctldRadio() override;

    void Start(qint64 vfoAHz, int noiseBurstAfter, std::function<void(bool)> then) override;
    void Kill() override;
    void ReadVfoA(std::function<void(qint64)> then) override;
    bool Polled() override { return true; }
    QStringList SettingsLines() const override;
    // rigctld logs nothing: VFO A as read at restarts and at the end.
    int StrayVfoACommands() override { return strayReadings_; }

private:
    void Tune(qint64 vfoAHz, int triesLeft, std::function<void(bool)> then);

    QString dir_;
    quint16 port_;
    std::unique_ptr<QProcess> process_;
    int starts_ = 0;
    int strayReadings_ = 0;
};
