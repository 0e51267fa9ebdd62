#include "cat/Win32SerialPort.h"

#include <QDeadlineTimer>
#include <QTimer>
#include <QWinEventNotifier>

#include <algorithm>

namespace {
// A radio's replies are a few dozen bytes; a read takes at most this much at once.
constexpr DWORD kReadChunk = 4096;
// How often the driver's input queue is looked at besides the announcements.
constexpr int kInputLookMs = 5;

QString DevicePath(const QString& name)
{
    // COM10 and above are reached only through the device namespace.
    if (name.startsWith(QLatin1String("\\\\")))
        return name;
    return QStringLiteral("\\\\.\\") + name;
}
} // namespace

Win32SerialPort::Win32SerialPort(QObject* parent) : QIODevice(parent), inputLook_(new QTimer(this))
{
    inputLook_->setInterval(kInputLookMs);
    connect(inputLook_, &QTimer::timeout, this, [this] {
        if (TakeInput())
            emit readyRead();
    });
    Prepare(inputWatch_, this);
    Prepare(reading_, this);
    Prepare(writing_, this);
    connect(inputWatch_.notifier, &QWinEventNotifier::activated, this, &Win32SerialPort::OnInputAnnounced);
    connect(writing_.notifier, &QWinEventNotifier::activated, this, &Win32SerialPort::OnWriteDone);
}

Win32SerialPort::~Win32SerialPort()
{
    close();
    Release(inputWatch_);
    Release(reading_);
    Release(writing_);
}

void Win32SerialPort::Prepare(Transfer& transfer, QObject* parent)
{
    transfer.overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    transfer.notifier = new QWinEventNotifier(transfer.overlapped.hEvent, parent);
    transfer.notifier->setEnabled(false);
}

void Win32SerialPort::Release(Transfer& transfer)
{
    delete transfer.notifier;
    transfer.notifier = nullptr;
    CloseHandle(transfer.overlapped.hEvent);
}

QString Win32SerialPort::ErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    QString message = length ? QString::fromWCharArray(text, int(length)).trimmed()
                             : QStringLiteral("Windows error %1").arg(error);
    LocalFree(text);
    // The system ends its sentences with a full stop; the program's messages go on after the text.
    if (message.endsWith(QLatin1Char('.')))
        message.chop(1);
    return message;
}

bool Win32SerialPort::Open(const QString& name, int baud)
{
    close();
    failed_ = false;
    const QString path = DevicePath(name);
    handle_ = CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        FailOpen(GetLastError());
        return false;
    }
    if (!Configure(baud)) {
        const DWORD error = GetLastError();
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        FailOpen(error);
        return false;
    }
    QIODevice::open(QIODevice::ReadWrite);
    WatchForInput();
    inputLook_->start();
    return true;
}

void Win32SerialPort::FailOpen(DWORD error)
{
    systemError_ = error;
    setErrorString(ErrorText(error));
}

bool Win32SerialPort::Configure(int baud)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_, &dcb))
        return false;
    dcb.BaudRate = DWORD(baud);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    if (!SetCommState(handle_, &dcb))
        return false;
    // A read returns at once with what is there; a write never times out.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    if (!SetCommTimeouts(handle_, &timeouts))
        return false;
    PurgeComm(handle_, PURGE_RXCLEAR | PURGE_TXCLEAR);
    return SetCommMask(handle_, EV_RXCHAR | EV_ERR) != FALSE;
}

void Win32SerialPort::close()
{
    inputLook_->stop();
    if (handle_ == INVALID_HANDLE_VALUE)
        return;
    CancelIo(handle_);
    for (Transfer* transfer : {&inputWatch_, &reading_, &writing_})
        Finish(*transfer);
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    received_.clear();
    inFlight_.clear();
    queued_.clear();
    QIODevice::close();
}

// The system may write into an overlapped transfer's buffer until it has
// ended: it must have ended before the buffer or the handle goes.
void Win32SerialPort::Finish(Transfer& transfer)
{
    transfer.notifier->setEnabled(false);
    if (!transfer.pending)
        return;
    DWORD ignored = 0;
    GetOverlappedResult(handle_, &transfer.overlapped, &ignored, TRUE);
    transfer.pending = false;
}

void Win32SerialPort::WatchForInput()
{
    while (handle_ != INVALID_HANDLE_VALUE && !failed_) {
        ResetEvent(inputWatch_.overlapped.hEvent);
        if (!WaitCommEvent(handle_, &eventMask_, &inputWatch_.overlapped)) {
            const DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING)
                return Fail(error);
            inputWatch_.pending = true;
            inputWatch_.notifier->setEnabled(true);
            return;
        }
        // Announced at once: take it in and watch again.
        if (TakeInput())
            emit readyRead();
    }
}

// A watch that fails is not taken as the port's failure: some drivers
// (Wine's on a pseudo-terminal) cannot watch at all, and the regular look at
// the input queue tells a port that has gone.
void Win32SerialPort::OnInputAnnounced()
{
    inputWatch_.notifier->setEnabled(false);
    inputWatch_.pending = false;
    DWORD ignored = 0;
    const bool watched = GetOverlappedResult(handle_, &inputWatch_.overlapped, &ignored, FALSE);
    if (TakeInput())
        emit readyRead();
    if (watched)
        WatchForInput();
}

// Reads what the driver holds now, and no more: a read of a byte that has
// not come may wait for it on some drivers whatever the timeouts say. A port
// that has gone fails here even when nothing was announced.
bool Win32SerialPort::TakeInput()
{
    if (handle_ == INVALID_HANDLE_VALUE || failed_)
        return false;
    const qsizetype before = received_.size();
    for (;;) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(handle_, &errors, &status)) {
            Fail(GetLastError());
            break;
        }
        if (status.cbInQue == 0)
            break;
        char chunk[kReadChunk];
        DWORD got = 0;
        ResetEvent(reading_.overlapped.hEvent);
        if (!ReadFile(handle_, chunk, std::min(status.cbInQue, kReadChunk), &got, &reading_.overlapped)) {
            const DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING || !GetOverlappedResult(handle_, &reading_.overlapped, &got, TRUE)) {
                Fail(error == ERROR_IO_PENDING ? GetLastError() : error);
                break;
            }
        }
        received_.append(chunk, qsizetype(got));
        if (got == 0)
            break;
    }
    return received_.size() > before;
}

bool Win32SerialPort::waitForReadyRead(int msecs)
{
    const QDeadlineTimer deadline(qMax(0, msecs));
    for (;;) {
        if (TakeInput()) {
            emit readyRead();
            return true;
        }
        if (failed_ || deadline.hasExpired())
            return false;
        // In slices, for drivers whose announcement never comes.
        const DWORD slice = DWORD(std::min<qint64>(kInputLookMs, deadline.remainingTime()));
        if (!inputWatch_.pending)
            Sleep(slice);
        else if (WaitForSingleObject(inputWatch_.overlapped.hEvent, slice) == WAIT_OBJECT_0)
            OnInputAnnounced();
        if (bytesAvailable() > 0)
            return true;
    }
}

qint64 Win32SerialPort::bytesAvailable() const
{
    return received_.size() + QIODevice::bytesAvailable();
}

qint64 Win32SerialPort::readData(char* data, qint64 maxSize)
{
    const qint64 taken = std::min<qint64>(maxSize, received_.size());
    std::copy_n(received_.constData(), taken, data);
    received_.remove(0, taken);
    if (taken == 0 && failed_)
        return -1;
    return taken;
}

qint64 Win32SerialPort::writeData(const char* data, qint64 size)
{
    if (handle_ == INVALID_HANDLE_VALUE || failed_)
        return -1;
    queued_.append(data, size);
    if (!writing_.pending)
        StartWrite();
    return failed_ ? -1 : size;
}

qint64 Win32SerialPort::bytesToWrite() const
{
    return inFlight_.size() + queued_.size();
}

void Win32SerialPort::StartWrite()
{
    while (!queued_.isEmpty() && !failed_) {
        inFlight_ = std::exchange(queued_, QByteArray());
        ResetEvent(writing_.overlapped.hEvent);
        DWORD written = 0;
        if (!WriteFile(handle_, inFlight_.constData(), DWORD(inFlight_.size()), &written, &writing_.overlapped)) {
            const DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING)
                return Fail(error);
            writing_.pending = true;
            writing_.notifier->setEnabled(true);
            return;
        }
        inFlight_.clear();
        emit bytesWritten(written);
    }
}

void Win32SerialPort::OnWriteDone()
{
    writing_.notifier->setEnabled(false);
    writing_.pending = false;
    DWORD written = 0;
    if (!GetOverlappedResult(handle_, &writing_.overlapped, &written, FALSE))
        return Fail(GetLastError());
    inFlight_.clear();
    emit bytesWritten(written);
    StartWrite();
}

qint64 Win32SerialPort::DriverQueuedBytes() const
{
    DWORD errors = 0;
    COMSTAT status{};
    if (handle_ == INVALID_HANDLE_VALUE || !ClearCommError(handle_, &errors, &status))
        return 0;
    return status.cbOutQue;
}

void Win32SerialPort::Fail(DWORD error)
{
    if (failed_)
        return;
    failed_ = true;
    systemError_ = error;
    setErrorString(ErrorText(error));
    emit failed(errorString());
}
