#pragma once

#include <QObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>
#include <QTimer>

// A logger on the program's network rig control, as loggers use it: one
// rigctl session that reads frequency, mode, PTT and split every second and
// now and then sets VFO B (never VFO A). A session that ends is opened again.
class LoggerClient : public QObject {
    Q_OBJECT
public:
    LoggerClient(quint16 port, QRandomGenerator& random, QObject* parent = nullptr);
    ~LoggerClient() override;

    void Start();
    void Stop();

    int Reads() const { return reads_; }
    int Errors() const { return errors_; }
    int VfoBSets() const { return vfoBSets_; }
    int Sessions() const { return sessions_; }
    // The first few error lines rigctl printed.
    const QStringList& FirstErrors() const { return firstErrors_; }

    // The band where loggers put VFO B, apart from where the wheel tunes VFO A.
    static constexpr qint64 kVfoBLowestHz = 7000000;

private:
    void Tick();
    void Open();
    void ReadAnswers();
    QString VfoBRequest();

    quint16 port_;
    QRandomGenerator& random_;
    QProcess rigctl_;
    QTimer tick_;
    QByteArray partial_;
    int reads_ = 0;
    int errors_ = 0;
    int vfoBSets_ = 0;
    int sessions_ = 0;
    QStringList firstErrors_;
};
