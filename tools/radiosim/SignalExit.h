#pragma once

#include "UniqueFd.h"

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a clean quit of the event loop, so the
// simulator removes its link and closes its terminal however it is stopped.
class SignalExit : public QObject {
    Q_OBJECT
public:
    explicit SignalExit(QObject* parent = nullptr);
    ~SignalExit() override;

signals:
    void received();

private:
    UniqueFd readEnd_;
    QSocketNotifier* notifier_ = nullptr;
};
