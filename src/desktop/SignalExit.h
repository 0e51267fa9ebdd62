#pragma once

#include "core/WakePipe.h"

#include <QObject>

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the event loop, so that
// a program stopped from outside (kill, Ctrl+C, a closed terminal, the end of
// the desktop session) ends the way it ends by itself. At most one instance at
// a time; create and use it on the thread of the event loop. Where there are
// no such signals (Windows) it never fires: there the window system ends a
// program through its windows.
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
