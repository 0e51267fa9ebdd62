#include "cat/CatLink.h"

#include "cat/ICatLine.h"
#include "cat/ICatReplies.h"
#include "core/FailureReport.h"
#include "core/ILogSink.h"
#include "core/Logging.h"
#include "core/NumberedError.h"

#include <algorithm>
#include <utility>

namespace {
// Queries still waiting for their replies; beyond this, the oldest are taken
// to be lost (a poll tick asks four).
constexpr std::size_t kMaxWaiting = 32;
const QByteArray kRefused = "?;";

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

CatLink::CatLink(ICatLine& port, ILogSink& catLog, IAlerts& alerts, ICatReplies& replies)
    : port_(port), catLog_(catLog), alerts_(alerts), replies_(replies)
{
    drainTimer_.setSingleShot(true);
    // A step waits no longer than the line needs: a few milliseconds.
    drainTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&drainTimer_, &QTimer::timeout, &drainTimer_, [this] { SendHeldStepWhenDrained(); });
}

bool CatLink::IsOpen() const
{
    return port_.IsOpen();
}

void CatLink::Send(const QString& command)
{
    SendHeldStep();
    if (Write(command))
        ++commandsSent_;
}

void CatLink::SendStep(const QString& command)
{
    // A step of the other VFO keeps its place on the wire.
    if (!heldStep_.isEmpty() && !heldStep_.startsWith(command.left(2)))
        SendHeldStep();
    // Counted when taken: a reply to a query asked before is older than the
    // program's copy of the VFO from now on, sent or held.
    ++commandsSent_;
    heldStep_ = command;
    SendHeldStepWhenDrained();
}

void CatLink::SendHeldStepWhenDrained()
{
    if (heldStep_.isEmpty())
        return;
    const qint64 unsent = port_.IsOpen() ? port_.UnsentBytes() : 0;
    if (unsent == 0) {
        SendHeldStep();
        return;
    }
    qCDebug(catTrace) << "step held," << unsent << "bytes still on the line:" << heldStep_;
    // Ten bits a byte at 38400 baud: about a quarter of a millisecond each.
    constexpr qint64 kBytesPerMs = 4;
    drainTimer_.start(int(std::max<qint64>(1, unsent / kBytesPerMs)));
}

void CatLink::SendHeldStep()
{
    drainTimer_.stop();
    if (heldStep_.isEmpty())
        return;
    // Cleared first: a failing port reports itself and the step is not tried again.
    Write(std::exchange(heldStep_, QString()));
}

void CatLink::Ask(const QString& query)
{
    SendHeldStep();
    if (!Write(query))
        return;
    waiting_.push_back(Query{query.left(2).toLatin1(), commandsSent_});
    if (waiting_.size() > kMaxWaiting)
        waiting_.pop_front();
}

void CatLink::ForgetQueries()
{
    // A late reply may answer the oldest query forgotten here, and commands
    // sent after that query moved the radio on from it.
    sentBeforeForgotten_ = waiting_.empty() ? commandsSent_ : waiting_.front().sentAfter;
    waiting_.clear();
}

bool CatLink::Write(const QString& command)
{
    if (!port_.IsOpen() || command.isEmpty())
        return false;
    try {
        port_.Write(command.toLatin1());
    } catch (const NumberedError& e) {
        ReportPortFailure(Routine::SendToRadio, e);
        return false;
    }
    ReportFailures(alerts_, Routine::SendToRadio, [&] { catLog_.AppendLine(command); });
    return true;
}

void CatLink::WhenReplyWaiting(int milliseconds, std::function<void()> then)
{
    if (port_.IsOpen())
        port_.WhenReplyWaiting(milliseconds, std::move(then));
    else
        then();
}

void CatLink::ReadReplies()
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
    } catch (const NumberedError& e) {
        // No reply came, so the lamp must not go on claiming a link.
        replies_.TakeSilence();
        ReportPortFailure(Routine::ReadFromRadio, e);
        return;
    }
    portFailureShown_ = false;
    ReportFailures(alerts_, Routine::ReadFromRadio, [&] { TakeRead(read, emptyMeansDown); });
}

void CatLink::ReportPortFailure(Routine routine, const NumberedError& error)
{
    // The poll reads four times a tick: a port that is gone or not chosen
    // is reported once, not in a box after box, until a read works again.
    if (portFailureShown_)
        return;
    portFailureShown_ = true;
    ReportFailure(alerts_, routine, error);
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
            replies_.TakeSilence();
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
        if (reply == kRefused)
            replies_.TakeRefusal(TakeRefusedQuery());
        else
            replies_.TakeReply(QString::fromLatin1(reply), Current(reply));
        start = end;
    }
}

// The radio answers in turn: a rejection answers the oldest query.
QByteArray CatLink::TakeRefusedQuery()
{
    if (waiting_.empty())
        return {};
    const QByteArray kind = waiting_.front().kind;
    waiting_.pop_front();
    return kind;
}

bool CatLink::Current(const QByteArray& reply)
{
    // A reply answers the oldest query of its kind, and the queries asked
    // before that one got no reply. Commands sent after a query have moved
    // the radio on from its reply; one that comes after its tick has ended
    // answers a query that no longer waits, and is current only if nothing
    // was sent since the oldest of those was asked.
    const auto answered = std::find_if(waiting_.begin(), waiting_.end(),
                                       [&](const Query& query) { return query.kind == reply.left(2); });
    if (answered == waiting_.end())
        return sentBeforeForgotten_ == commandsSent_;
    const quint64 sentAfter = answered->sentAfter;
    waiting_.erase(waiting_.begin(), answered + 1);
    return sentAfter == commandsSent_;
}

void CatLink::HoldFragment(const QByteArray& fragment, int alreadyLogged)
{
    const int dropped = qMax(0, int(fragment.size()) - kMaxHeldBytes);
    held_ = fragment.mid(dropped);
    heldLogged_ = qMax(0, alreadyLogged - dropped);
}

bool CatLink::ReadyToPoll()
{
    if (!port_.IsOpen() && !port_.IsOpening()) {
        // The read fails, says why (once) and marks the link down.
        ReadReplies();
        if (chosen_ != 0) {
            portWasDown_ = true;
            Reopen();
        }
    }
    if (port_.IsOpening())
        replies_.TakeSilence();
    if (!port_.IsOpen())
        return false;
    if (portWasDown_) {
        portWasDown_ = false;
        ReportFailures(alerts_, Routine::ReadFromRadio,
                   [&] { catLog_.AppendLine(QStringLiteral("COM%1 is open again.").arg(chosen_)); });
    }
    return true;
}

void CatLink::Reopen()
{
    qCDebug(catTrace) << "opening COM" << chosen_ << "again";
    ForgetLine();
    try {
        port_.Open(chosen_);
    } catch (const NumberedError&) {
        // Still gone: the port keeps the reason, which the next tick's read meets.
    }
}

void CatLink::CloseIfOpen()
{
    // A port that failed, or whose connection is on its way, is closed too.
    port_.Close();
    ForgetLine();
    replies_.TakeSilence();
}

void CatLink::ForgetLine()
{
    // A fragment from the radio on the old line means nothing on the new one,
    // and no reply is coming there for the queries sent on it.
    held_.clear();
    heldLogged_ = 0;
    waiting_.clear();
    heldStep_.clear();
    drainTimer_.stop();
}

void CatLink::SelectPort(int comNumber, const PortMarks& setMarks)
{
    CloseIfOpen();
    setMarks(comNumber);
    chosen_ = comNumber;
    portWasDown_ = false;
    try {
        port_.Open(comNumber);
    } catch (const NumberedError&) {
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
