#pragma once

#include <QFile>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <functional>

// The real program on the soak's display, with the dispatcher's trace on: it
// prints the map key and entry of every MIDI message it acts on, and from
// those this counts the wheel's steps of VFO A ("#UP10", "#DN10").
class ProgramUnderTest : public QObject {
    Q_OBJECT
public:
    ProgramUnderTest(const QString& executable, const QString& settingsFile, const QString& errorLog,
                     QObject* parent = nullptr);
    ~ProgramUnderTest() override;

    void Start();
    bool Running() const { return process_.state() != QProcess::NotRunning; }
    qint64 Pid() const { return process_.processId(); }

    // The steps of VFO A acted on so far, and what they add up to.
    int StepsUp() const { return stepsUp_; }
    int StepsDown() const { return stepsDown_; }
    qint64 StepsHz() const { return stepsHz_; }
    int Steps() const { return stepsUp_ + stepsDown_; }

    // The program's visible windows titled "Vorn-MIDI Connector": its main
    // window (the one that belongs to no other, kept) and its message boxes.
    QStringList Windows() const;
    QString MainWindow();
    QStringList Boxes();

    // E&xit from the main window's menu, again every few seconds until the
    // program has ended, each time after `answerBoxes` (a box that came
    // meanwhile holds the menu); `then` gets whether the program ended in
    // time and its exit status.
    void Exit(std::function<void()> answerBoxes, std::function<void(bool ended, int status)> then);

    static QString Xdotool(const QStringList& arguments);
    // What the X tool `tool` prints, or nothing when it does not end in time.
    static QString XTool(const QString& tool, const QStringList& arguments);

signals:
    void ended();

private:
    void ReadTrace();
    void Take(const QString& line);

    QProcess process_;
    QString executable_;
    QString settingsFile_;
    QFile errorLog_;
    QByteArray partial_;
    QString mainWindow_;
    int stepsUp_ = 0;
    int stepsDown_ = 0;
    qint64 stepsHz_ = 0;
};
