#include "cat/CatLink.h"

#include "core/IIndicator.h"
#include "core/ILogSink.h"
#include "core/RuntimeError.h"
#include "core/VbError.h"
#include "cat/CatParser.h"
#include "cat/ISerialPort.h"
#include "core/RadioState.h"

CatLink::CatLink(ISerialPort& port, ILogSink& catLog, IIndicator& catLamp, IAlerts& alerts,
                 RadioState& state, CatParser& parser)
    : port_(port), catLog_(catLog), catLamp_(catLamp), alerts_(alerts), state_(state),
      parser_(parser)
{
}

void CatLink::SendCAT(const QString& command)
{
    if (!port_.IsOpen() || command.isEmpty())
        return;
    try {
        port_.Write(command.toLatin1());
    } catch (const VbError& e) {
        ReportPortFailure(QStringLiteral("SendCAT"), e);
        return;
    }
    RunGuarded(alerts_, QStringLiteral("SendCAT"), [&] { catLog_.AppendLine(command); });
}

bool CatLink::LinkUp() const
{
    return port_.IsOpen() && state_.valid_cat_a;
}

void CatLink::AwaitReply(int milliseconds)
{
    if (port_.IsOpen())
        port_.WaitForReply(milliseconds);
}

void CatLink::GetCAT()
{
    QByteArray read;
    try {
        read = port_.ReadAll();
    } catch (const VbError& e) {
        // No reply came, so the lamp must not go on claiming a link.
        MarkLinkDown();
        ReportPortFailure(QStringLiteral("GetCAT"), e);
        return;
    }
    portFailureShown_ = false;
    RunGuarded(alerts_, QStringLiteral("GetCAT"), [&] { TakeRead(read); });
}

void CatLink::ReportPortFailure(const QString& routine, const VbError& error)
{
    // The poll reads four times a tick: a port that is gone or not chosen
    // is reported once, not in a box after box, until a read works again.
    if (portFailureShown_)
        return;
    portFailureShown_ = true;
    ReportRuntimeError(alerts_, routine, error);
}

void CatLink::TakeRead(const QByteArray& read)
{
    // A reply may be split over reads, and one read may bring several replies:
    // the start of a reply is held and joined in front of the next read.
    const QByteArray text = held_ + read;
    const int end = text.lastIndexOf(';') + 1;
    if (end == 0) {
        HoldFragment(text, heldLogged_);
        MarkLinkDown();
        return;
    }
    const QByteArray unlogged = text.mid(heldLogged_);
    HoldFragment(text.mid(end), text.size() - end);
    ParseReplies(text.left(end));
    catLog_.AppendLine(QString::fromLatin1(unlogged));
}

void CatLink::ParseReplies(const QByteArray& text)
{
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf(';', start) + 1;
        parser_.ParseCAT(QString::fromLatin1(text.mid(start, end - start)));
        start = end;
    }
}

void CatLink::HoldFragment(const QByteArray& fragment, int alreadyLogged)
{
    const int dropped = qMax(0, int(fragment.size()) - kMaxHeldBytes);
    held_ = fragment.mid(dropped);
    heldLogged_ = qMax(0, alreadyLogged - dropped);
}

void CatLink::MarkLinkDown()
{
    state_.valid_cat_a = false;
    state_.valid_cat_b = false;
    catLamp_.SetFillColor(IIndicator::kRed);
}

void CatLink::CloseIfOpen()
{
    if (port_.IsOpen())
        port_.Close();
    // A fragment from the radio on the old line means nothing on the new one.
    held_.clear();
    heldLogged_ = 0;
}

void CatLink::SelectPort(int comNumber, const PortMarks& setMarks)
{
    CloseIfOpen();
    setMarks(comNumber);
    port_.Open(comNumber);
}

void CatLink::SelectNone(const PortMarks& setMarks)
{
    CloseIfOpen();
    setMarks(0);
}
