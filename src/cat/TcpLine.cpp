#include "cat/TcpLine.h"

#include "cat/PortAddress.h"
#include "cat/SystemLines.h"
#include "core/NumberedError.h"

#include <QUrl>


TcpLine::TcpLine(const ISettingsStore& settings) : settings_(settings)
{
    connectTimer_.setSingleShot(true);
    QObject::connect(&connectTimer_, &QTimer::timeout, Events(), [this] { OnConnectTimeout(); });
    QObject::connect(&socket_, &QTcpSocket::connected, Events(), [this] { OnConnected(); });
    QObject::connect(&socket_, &QTcpSocket::errorOccurred, Events(),
                     [this](QAbstractSocket::SocketError error) {
                         // A read that finds nothing waiting "times out"; the connection stands.
                         if (error != QAbstractSocket::SocketTimeoutError)
                             OnSocketError();
                     });
}

TcpLine::~TcpLine()
{
    Close();
}

QString TcpLine::Describe() const
{
    return QStringLiteral("network port COM%1 (%2)").arg(comNumber_).arg(address_);
}

void TcpLine::Open(int comNumber)
{
    Close();
    comNumber_ = comNumber;
    address_ = PortAddress::For(settings_, comNumber).trimmed();
    const QUrl url(address_, QUrl::StrictMode);
    const int port = url.port();
    if (!url.isValid() || url.host().isEmpty() || port < 1
        || (!url.path().isEmpty() && url.path() != QLatin1String("/"))
        || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment())
        throw NumberedError(NumberedError::kDeviceUnavailable,
                      QStringLiteral("COM%1 stands for \"%2\", which is no network address: "
                                     "write tcp://host:port, for example tcp://192.168.1.20:9200")
                          .arg(comNumber)
                          .arg(address_));
    connectTimer_.start(kConnectTimeoutMs);
    socket_.connectToHost(url.host(), quint16(port));
}

qint64 TcpLine::QueuedBytes() const
{
    return socket_.bytesToWrite() + SystemLines::UnsentSocketBytes(socket_.socketDescriptor());
}

bool TcpLine::IsOpening() const
{
    return !Failed() && (socket_.state() == QAbstractSocket::HostLookupState ||
                         socket_.state() == QAbstractSocket::ConnectingState);
}

void TcpLine::OnConnected()
{
    connectTimer_.stop();
    wasConnected_ = true;
    // CAT commands are a few bytes each; they go out at once, not gathered.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

void TcpLine::OnSocketError()
{
    connectTimer_.stop();
    if (wasConnected_)
        Lose(socket_.errorString());
    else
        Fail(QStringLiteral("Cannot open %1: %2").arg(Describe(), socket_.errorString()));
}

void TcpLine::OnConnectTimeout()
{
    // A thread kept busy may meet the timer before the news that the connection stands.
    if (socket_.state() == QAbstractSocket::ConnectingState && socket_.waitForConnected(0))
        return;
    Fail(QStringLiteral("Cannot open %1: no answer within %2 s")
             .arg(Describe())
             .arg(kConnectTimeoutMs / 1000));
    socket_.abort();
}

void TcpLine::Close()
{
    connectTimer_.stop();
    socket_.abort();
    wasConnected_ = false;
    ClearFailure();
}
