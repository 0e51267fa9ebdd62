#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <qt_windows.h>

class QTimer;
class QWinEventNotifier;

// A serial port of Windows as a QIODevice, over the Win32 API: 8 data bits,
// no parity, one stop bit, no flow control, RTS and DTR off. Every transfer
// is overlapped, so no call waits for the line: bytes that arrive are taken
// in when the system announces them or a look at the driver's queue every
// few milliseconds finds them (readyRead), or at once by waitForReadyRead(0); writes go out in the background (bytesWritten). A port
// that fails while open (an adapter unplugged, the far end of a pipe gone)
// emits failed() once with the system's words, and is unusable until opened
// again. UI thread only.
class Win32SerialPort : public QIODevice {
    Q_OBJECT
public:
    explicit Win32SerialPort(QObject* parent = nullptr);
    ~Win32SerialPort() override;

    // `name` is a port name ("COM3") or a device path. False, with
    // errorString() and systemError() set, when the port cannot be used.
    bool Open(const QString& name, int baud);
    void close() override;
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    qint64 bytesToWrite() const override;
    // Takes in what the system holds now; with `msecs` above 0 it waits that
    // long at most for a first byte. True when bytes came.
    bool waitForReadyRead(int msecs) override;

    // Output the driver holds but has not sent yet.
    qint64 DriverQueuedBytes() const;
    // Win32's error code of the last failure (ERROR_ACCESS_DENIED, ...).
    DWORD systemError() const { return systemError_; }
    // The system's text for an error code.
    static QString ErrorText(DWORD error);

signals:
    void failed(const QString& reason);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    // One overlapped transfer of the port: its event and its notifier.
    struct Transfer {
        OVERLAPPED overlapped{};
        QWinEventNotifier* notifier = nullptr;
        bool pending = false;
    };

    bool Configure(int baud);
    void FailOpen(DWORD error);
    void WatchForInput();
    void OnInputAnnounced();
    bool TakeInput();
    void StartWrite();
    void OnWriteDone();
    void Fail(DWORD error);
    void Finish(Transfer& transfer);
    static void Prepare(Transfer& transfer, QObject* parent);
    static void Release(Transfer& transfer);

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    QTimer* inputLook_;
    Transfer inputWatch_;
    Transfer reading_;
    Transfer writing_;
    DWORD eventMask_ = 0;
    // Taken in from the port, not yet read by the user of this device.
    QByteArray received_;
    // The bytes of the write under way (untouched until it has ended) and
    // those that wait for it.
    QByteArray inFlight_;
    QByteArray queued_;
    DWORD systemError_ = 0;
    bool failed_ = false;
};
