#pragma once

#include <QObject>
#include <functional>

// Waits on an event without holding the event loop: `condition` is asked
// every kPollMs until it holds or `timeoutMs` has passed, then `then` is told
// which. Dropped with `owner`.
void Await(QObject* owner, std::function<bool()> condition, int timeoutMs, std::function<void(bool)> then);

// `then` after `ms`, unless `owner` has gone by then.
void After(QObject* owner, int ms, std::function<void()> then);
