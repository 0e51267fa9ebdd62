#pragma once

#include <QObject>
#include <QThread>

class HamlibWorker;

// Runs a HamlibWorker on a thread of its own from construction to
// destruction. Constructing it first loads Hamlib's model list (and with it
// Hamlib's process-wide settings) on the calling thread. UI thread only.
class HamlibThread : public QObject {
public:
    explicit HamlibThread(QObject* parent = nullptr);
    // Lets the worker finish the request it is carrying out (at most one
    // Hamlib timeout with a radio gone quiet), drops requests still waiting,
    // and joins the thread; the worker closes the rig on its own thread.
    ~HamlibThread() override;

    // Call its functions and connect to its signals; it is not yours to delete.
    HamlibWorker& worker() const { return *worker_; }

private:
    QThread thread_;
    HamlibWorker* worker_;
};
