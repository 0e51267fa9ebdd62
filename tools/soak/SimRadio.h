#pragma once

#include "SoakOptions.h"
#include "StationRadio.h"

#include <QFile>
#include <QProcess>
#include <memory>

// The radio simulator, paced at 38400 baud both ways, on a pseudo-terminal
// reached through a path that stays the same across restarts (for the
// program's own link, or Hamlib's TS-480 driver), or on a TCP port that stays
// the same. Each start writes its own command log; VFO A is the last "FA"
// command with a frequency in it.
class SimRadio : public StationRadio {
    Q_OBJECT
public:
    SimRadio(const QString& executable, const QString& dir, Road road, quint16 tcpPort, QObject* parent = nullptr);
    ~SimRadio() override;

    void Start(qint64 vfoAHz, int noiseBurstAfter, std::function<void(bool)> then) override;
    bool TakesNoise() const override { return true; }
    void Kill() override;
    void ReadVfoA(std::function<void(qint64)> then) override;
    bool Polled() override;
    QStringList SettingsLines() const override;
    int StrayVfoACommands() override;
    int VfoBCommands() override;

private:
    void ReadLog();
    void Take(const QByteArray& command);

    QString executable_;
    QString dir_;
    Road road_;
    quint16 tcpPort_;
    QString link_;
    std::unique_ptr<QProcess> process_;
    QFile log_;
    QByteArray partial_;
    int starts_ = 0;
    qint64 vfoA_ = -1;
    int commandsSinceStart_ = 0;
    int strayVfoA_ = 0;
    int vfoB_ = 0;
};
