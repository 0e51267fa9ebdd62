#pragma once

#include "core/WakePipe.h"

#include <QObject>

// Turns a stop from outside into a Qt signal on the event loop, so that the
// program ends the way it ends by itself: on Linux SIGTERM, SIGINT and SIGHUP
// (kill, Ctrl+C, a closed terminal, the end of the desktop session), on
// Windows the events of the console it was started from (Ctrl+C, Ctrl+Break,
// the console closed, logoff, shutdown; the end of the Windows session
// reaches a program through its windows, see main.cpp). At most one instance
// at a time; create and use it on the thread of the event loop.
class SignalExit : public QObject {
    Q_OBJECT
public:
    explicit SignalExit(QObject* parent = nullptr);
    ~SignalExit() override;

signals:
    void received();

private:
    WakePipe pipe_;
};
