#pragma once

#include "cat/ICatLink.h"

#include "core/Routine.h"

#include <QByteArray>
#include <QTimer>
#include <QString>
#include <deque>
#include <functional>

class IAlerts;
class ICatLine;
class ICatReplies;
class ILogSink;
class NumberedError;

// The one road to the radio: port selection, writing commands (Send) and
// reading replies (ReadReplies), which it hands to the radio (ICatReplies),
// with every command and reply shown in the CAT log.
// The chosen port is kept while it is gone (an unplugged adapter, a dropped
// connection) and opened again by the poll.
// A wheel's steps (SendStep) go out one command each while the line keeps
// up. While the line still holds unsent output, the newest step is held
// back, a newer one of the same VFO replacing it, and goes out as soon as
// the line has drained, or before anything else is written, so the order on
// the wire stays and the radio never runs behind the wheel by more than the
// command on the line. UI thread only.
class CatLink : public ICatLink {
public:
    // Sets the port menu's check marks: 0 marks "None", 1 to 16 mark that COM port.
    using PortMarks = std::function<void(int comNumber)>;

    // Longest start of a reply that is held for the next read; older bytes are dropped.
    static constexpr int kMaxHeldBytes = 1024;

    CatLink(ICatLine& port, ILogSink& catLog, IAlerts& alerts, ICatReplies& replies);

    bool IsOpen() const override;
    void Send(const QString& command) override;
    void SendStep(const QString& command) override;
    // A query of the poll: sent like any command. The radio answers queries
    // in turn; the reply (told by the query's first two letters) is current
    // when no other command went out after its query.
    void Ask(const QString& query);
    // The poll's tick has ended: the queries it asked no longer wait for
    // their replies (a reply lost or refused must not be matched to a later
    // query of its kind).
    void ForgetQueries();

    // Reads what the radio has sent and hands every complete reply on. A
    // read that brings no reply, or fails, tells of the silence; a
    // failing port is reported once (by a write, a read or the port command)
    // until a read works again.
    void ReadReplies();
    // A read within a poll tick, while replies may still be on their way:
    // like ReadReplies, but one that brings no reply tells nothing.
    void CollectReplies();
    // Runs `then` once a reply end is waiting, or after `milliseconds`; never blocks.
    void WhenReplyWaiting(int milliseconds, std::function<void()> then);

    // At the start of a poll tick: a chosen port that is closed (gone, or not
    // there when it was chosen) is opened again, and its return is logged.
    // False, telling of the silence, while there is nothing to ask: the port
    // is closed or its connection still on its way.
    bool ReadyToPoll();

    // Port selection: a failure to open (a missing or busy device) is thrown
    // after the old port is closed and the marks are set; the port stays chosen.
    void SelectPort(int comNumber, const PortMarks& setMarks);
    void SelectNone(const PortMarks& setMarks);
    // The COM number chosen last, 0 for none.
    int ChosenPort() const { return chosen_; }

private:
    struct Query {
        QByteArray kind;
        // Commands other than queries sent before it.
        quint64 sentAfter;
    };

    bool Write(const QString& command);
    void SendHeldStep();
    void SendHeldStepWhenDrained();
    void Read(bool emptyMeansDown);
    void CloseIfOpen();
    void ForgetLine();
    void Reopen();
    void TakeRead(const QByteArray& read, bool emptyMeansDown);
    void ParseReplies(const QByteArray& text);
    void HoldFragment(const QByteArray& fragment, int alreadyLogged);
    bool Current(const QByteArray& reply);
    QByteArray TakeRefusedQuery();
    void ReportPortFailure(Routine routine, const NumberedError& error);

    ICatLine& port_;
    ILogSink& catLog_;
    IAlerts& alerts_;
    ICatReplies& replies_;

    int chosen_ = 0;
    // The chosen port was found closed; its return goes to the log.
    bool portWasDown_ = false;
    // Received text after the last ";" — the start of a reply still on its way.
    QByteArray held_;
    // How many leading bytes of held_ the log has already shown.
    int heldLogged_ = 0;
    bool portFailureShown_ = false;
    // Commands other than queries taken so far (a held step counts); the
    // queries still waiting for their replies, oldest first; the count when
    // the oldest query the last tick left unanswered was asked.
    quint64 commandsSent_ = 0;
    std::deque<Query> waiting_;
    quint64 sentBeforeForgotten_ = 0;
    // The frequency command held back while the line is busy, empty when none.
    QString heldStep_;
    QTimer drainTimer_;
};
