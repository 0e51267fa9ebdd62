#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>

// The behaviour of a K3-style transceiver on its CAT line: it takes one command
// (without its ";") and gives the reply the radio would send, or nothing.
// Kept apart from the line itself so a front panel can show and drive it.
class RadioModel : public QObject {
    Q_OBJECT
public:
    struct Settings {
        QByteArray freqA = "00014060000";
        QByteArray freqB = "00007030000";
        char mode = '3';
        bool hasVfoB = true;
    };

    static constexpr int kKeptCommands = 50;

    explicit RadioModel(const Settings& settings, QObject* parent = nullptr);

    // Returns the reply, ";" included, or the empty text when the radio stays quiet.
    QByteArray Execute(const QByteArray& command);

    // The 38-character status reply: IF, frequency, blanks, offset, RIT, XIT, ..., mode, ...
    QByteArray IfReply() const;

    const QByteArray& vfoA() const { return freqA_; }
    const QByteArray& vfoB() const { return freqB_; }
    char mode() const { return mode_; }
    bool rit() const { return rit_; }
    bool xit() const { return xit_; }
    bool transmitting() const { return transmitting_; }
    bool split() const { return split_; }
    int power() const { return power_; }
    int keyerSpeed() const { return keyerSpeed_; }
    // The newest commands received, oldest first.
    const QByteArrayList& lastCommands() const { return lastCommands_; }

signals:
    void stateChanged();
    // Every command taken, whether it changed anything or not (a front panel lists them).
    void commandReceived(const QByteArray& command);

private:
    QByteArray Dispatch(const QByteArray& name, const QByteArray& args);
    QByteArray Frequency(QByteArray& vfo, const QByteArray& name, const QByteArray& args,
                         bool available);
    QByteArray Switch(bool& flag, const QByteArray& name, const QByteArray& args);
    QByteArray Level(int& value, const QByteArray& name, const QByteArray& args, int max);
    QByteArray Step(const QByteArray& args, int direction);
    QByteArray Mode(const QByteArray& args);
    QByteArray Transmit(bool on, const QByteArray& args);
    void Remember(const QByteArray& command);
    void Changed();

    QByteArray freqA_;
    QByteArray freqB_;
    char mode_;
    bool hasVfoB_;
    bool rit_ = false;
    bool xit_ = false;
    bool transmitting_ = false;
    // Split: VFO A receives, VFO B transmits (FT1).
    bool split_ = false;
    bool noiseBlanker_ = false;
    // Receives on VFO B (FR1).
    bool receivesOnB_ = false;
    int power_ = 50;
    int keyerSpeed_ = 20;
    QByteArrayList lastCommands_;
};
