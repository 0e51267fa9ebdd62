#include "Await.h"

#include <QElapsedTimer>
#include <QTimer>
#include <memory>

namespace {
constexpr int kPollMs = 100;
}

void Await(QObject* owner, std::function<bool()> condition, int timeoutMs, std::function<void(bool)> then)
{
    if (condition()) {
        QTimer::singleShot(0, owner, [then] { then(true); });
        return;
    }
    auto* timer = new QTimer(owner);
    const auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(kPollMs);
    QObject::connect(timer, &QTimer::timeout, owner, [=] {
        const bool met = condition();
        if (!met && clock->elapsed() < timeoutMs)
            return;
        timer->stop();
        timer->deleteLater();
        then(met);
    });
    timer->start();
}

void After(QObject* owner, int ms, std::function<void()> then)
{
    QTimer::singleShot(ms, owner, std::move(then));
}
