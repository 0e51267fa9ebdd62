#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

class ProgramUnderTest;

// The program's message boxes, looked at every kEveryMs: how many showed
// during the run, and which are open now.
class BoxWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kEveryMs = 2000;

    explicit BoxWatch(ProgramUnderTest& program, QObject* parent = nullptr);

    void Start() { timer_.start(); }
    void Stop() { timer_.stop(); }
    // Looks now; the boxes open.
    QStringList Look();
    // Answers every open box with its default button, as the operator back at the station.
    void CloseAll();

    int Shown() const { return int(seen_.size()); }
    int Closed() const { return closed_; }

private:
    ProgramUnderTest& program_;
    QTimer timer_;
    QSet<QString> seen_;
    int closed_ = 0;
};
