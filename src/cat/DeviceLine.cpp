#include "cat/DeviceLine.h"

#include "core/NumberedError.h"

#include <QIODevice>
#include <algorithm>
#include <utility>

namespace {
// A radio gone wild must not keep a read busy for ever; what is left stays
// in the operating system's buffer for the next read.
constexpr qint64 kMaxReadBytes = 64 * 1024;
}

DeviceLine::DeviceLine()
{
    clock_.start();
    waitTimer_.setSingleShot(true);
    QObject::connect(&waitTimer_, &QTimer::timeout, &events_, [this] { EndWait(); });
}

DeviceLine::~DeviceLine() = default;

void DeviceLine::Fail(const QString& description)
{
    if (Failed())
        return;
    failure_ = description;
    QTimer::singleShot(0, &events_, [this] {
        if (Failed() && Device().isOpen())
            CloseDevice();
    });
}

void DeviceLine::Lose(const QString& reason)
{
    Fail(QStringLiteral("The %1 is gone: %2. It is opened again as soon as it is back.")
             .arg(Describe(), reason));
}

void DeviceLine::ThrowIfUnusable() const
{
    if (Failed())
        throw NumberedError(NumberedError::kDeviceUnavailable, failure_);
    if (!Connected())
        throw NumberedError(NumberedError::kPortNotOpen, QStringLiteral("Operation valid only when the port is open"));
}

void DeviceLine::Write(const QByteArray& data)
{
    ThrowIfUnusable();
    if (Device().write(data) != data.size()) {
        const QString reason = Device().errorString();
        throw NumberedError(NumberedError::kDeviceUnavailable,
                      QStringLiteral("Cannot write to the %1: %2").arg(Describe(), reason));
    }
    const qint64 nowNs = clock_.nsecsElapsed();
    lineFreeAtNs_ = std::max(lineFreeAtNs_, nowNs) + data.size() * NanosecondsPerByte();
    // The bytes leave now: the poll reads the reply to its first query at once.
    Flush();
    ThrowIfUnusable();
}

qint64 DeviceLine::UnsentBytes() const
{
    if (!IsOpen())
        return 0;
    const qint64 perByte = NanosecondsPerByte();
    const qint64 aheadNs = lineFreeAtNs_ - clock_.nsecsElapsed();
    const qint64 byRate = perByte > 0 && aheadNs > 0 ? (aheadNs + perByte - 1) / perByte : 0;
    return std::max(byRate, QueuedBytes());
}

void DeviceLine::CollectWaitingBytes()
{
    // The device fills its buffer only from the event loop; the thread may
    // have been busy since the radio answered, so ask the system directly.
    while (Device().bytesAvailable() < kMaxReadBytes && Device().waitForReadyRead(0)) {
    }
}

QByteArray DeviceLine::ReadAll()
{
    ThrowIfUnusable();
    CollectWaitingBytes();
    const QByteArray data = Device().isOpen() ? Device().readAll() : QByteArray();
    ThrowIfUnusable();
    return data;
}

bool DeviceLine::ReplyWaiting()
{
    if (!IsOpen())
        return false;
    CollectWaitingBytes();
    return Device().peek(Device().bytesAvailable()).contains(';');
}

void DeviceLine::WhenReplyWaiting(int milliseconds, std::function<void()> then)
{
    EndWait();
    if (ReplyWaiting()) {
        then();
        return;
    }
    afterWait_ = std::move(then);
    waitConnection_ = QObject::connect(&Device(), &QIODevice::readyRead, &events_, [this] {
        if (ReplyWaiting())
            EndWait();
    });
    waitTimer_.start(milliseconds);
}

void DeviceLine::EndWait()
{
    QObject::disconnect(waitConnection_);
    waitTimer_.stop();
    if (auto then = std::exchange(afterWait_, nullptr))
        then();
}
