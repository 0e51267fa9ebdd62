#include "cat/CatLink.h"

#include "core/IIndicator.h"
#include "core/ILogSink.h"
#include "core/RuntimeError.h"
#include "core/VbError.h"
#include "cat/CatParser.h"
#include "cat/ISerialPort.h"
#include "core/RadioState.h"

namespace {
const QString kGetCat = QStringLiteral("GetCAT");
// Queries of one kind still waiting for their replies; beyond this, replies
// lost in noise are taken to be gone for good.
constexpr std::size_t kMaxUnanswered = 8;

// Replies are printable text: a byte outside it can only be line noise (a
// radio powering up, a cable touched), and the reply begins after the last one.
QByteArray WithoutNoise(const QByteArray& reply)
{
    for (qsizetype i = reply.size() - 1; i >= 0; --i) {
        const auto byte = static_cast<unsigned char>(reply[i]);
        if (byte < 0x20 || byte > 0x7E)
            return reply.mid(i + 1);
    }
    return reply;
}
} // namespace

CatLink::CatLink(ISerialPort& port, ILogSink& catLog, IIndicator& catLamp, IAlerts& alerts,
                 RadioState& state, CatParser& parser)
    : port_(port), catLog_(catLog), catLamp_(catLamp), alerts_(alerts), state_(state),
      parser_(parser)
{
}

void CatLink::SendCAT(const QString& command)
{
    if (Write(command))
        ++commandsSent_;
}

void CatLink::Ask(const QString& query)
{
    if (!Write(query))
        return;
    std::deque<quint64>& unanswered = unanswered_[query.left(2).toLatin1()];
    unanswered.push_back(commandsSent_);
    if (unanswered.size() > kMaxUnanswered)
        unanswered.pop_front();
}

bool CatLink::Write(const QString& command)
{
    if (!port_.IsOpen() || command.isEmpty())
        return false;
    try {
        port_.Write(command.toLatin1());
    } catch (const VbError& e) {
        ReportPortFailure(QStringLiteral("SendCAT"), e);
        return false;
    }
    RunGuarded(alerts_, QStringLiteral("SendCAT"), [&] { catLog_.AppendLine(command); });
    return true;
}

bool CatLink::LinkUp() const
{
    return port_.IsOpen() && state_.valid_cat_a;
}

void CatLink::WhenReplyWaiting(int milliseconds, std::function<void()> then)
{
    if (port_.IsOpen())
        port_.WhenReplyWaiting(milliseconds, std::move(then));
    else
        then();
}

void CatLink::GetCAT()
{
    Read(true);
}

void CatLink::CollectReplies()
{
    Read(false);
}

void CatLink::Read(bool emptyMeansDown)
{
    QByteArray read;
    try {
        read = port_.ReadAll();
    } catch (const VbError& e) {
        // No reply came, so the lamp must not go on claiming a link.
        MarkLinkDown();
        ReportPortFailure(kGetCat, e);
        return;
    }
    portFailureShown_ = false;
    RunGuarded(alerts_, kGetCat, [&] { TakeRead(read, emptyMeansDown); });
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

void CatLink::TakeRead(const QByteArray& read, bool emptyMeansDown)
{
    // A reply may be split over reads, and one read may bring several replies:
    // the start of a reply is held and joined in front of the next read.
    const QByteArray text = held_ + read;
    const int end = text.lastIndexOf(';') + 1;
    if (end == 0) {
        HoldFragment(text, heldLogged_);
        if (emptyMeansDown)
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
        const QByteArray reply = WithoutNoise(text.mid(start, end - start));
        parser_.ParseCAT(QString::fromLatin1(reply), Current(reply));
        start = end;
    }
}

bool CatLink::Current(const QByteArray& reply)
{
    // Commands sent after a query have moved the radio on from its reply,
    // which may come a tick or more late behind them on a slow line.
    const auto unanswered = unanswered_.find(reply.left(2));
    if (unanswered == unanswered_.end() || unanswered->empty())
        return true;
    const quint64 askedAt = unanswered->front();
    unanswered->pop_front();
    return askedAt == commandsSent_;
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

bool CatLink::ReadyToPoll()
{
    if (!port_.IsOpen() && !port_.IsOpening()) {
        // The read fails, says why (once) and marks the link down.
        GetCAT();
        if (chosen_ != 0) {
            portWasDown_ = true;
            Reopen();
        }
    }
    if (port_.IsOpening())
        MarkLinkDown();
    if (!port_.IsOpen())
        return false;
    if (portWasDown_) {
        portWasDown_ = false;
        RunGuarded(alerts_, kGetCat,
                   [&] { catLog_.AppendLine(QStringLiteral("COM%1 is open again.").arg(chosen_)); });
    }
    return true;
}

void CatLink::Reopen()
{
    ForgetLine();
    try {
        port_.Open(chosen_);
    } catch (const VbError&) {
        // Still gone: the port keeps the reason, which the next tick's read meets.
    }
}

void CatLink::CloseIfOpen()
{
    // A port that failed, or whose connection is on its way, is closed too.
    port_.Close();
    ForgetLine();
}

void CatLink::ForgetLine()
{
    // A fragment from the radio on the old line means nothing on the new one,
    // and no reply is coming there for the queries sent on it.
    held_.clear();
    heldLogged_ = 0;
    unanswered_.clear();
}

void CatLink::SelectPort(int comNumber, const PortMarks& setMarks)
{
    CloseIfOpen();
    setMarks(comNumber);
    chosen_ = comNumber;
    portWasDown_ = false;
    try {
        port_.Open(comNumber);
    } catch (const VbError&) {
        // The port command reports it; the poll, trying again, does not.
        portFailureShown_ = true;
        throw;
    }
}

void CatLink::SelectNone(const PortMarks& setMarks)
{
    CloseIfOpen();
    setMarks(0);
    chosen_ = 0;
    portWasDown_ = false;
}
