#pragma once

#include "core/ICatSender.h"
#include "core/ILinkState.h"

#include <QByteArray>
#include <QString>
#include <functional>

class CatParser;
class IAlerts;
class IIndicator;
class ILogSink;
class ISerialPort;
class VbError;
struct RadioState;

// The one road to the radio: port selection, writing commands (SendCAT) and
// reading replies (GetCAT), with every command and reply shown in the CAT log.
class CatLink : public ICatSender, public ILinkState {
public:
    // Sets the port menu's check marks: 0 marks "None", 1 to 16 mark that COM port.
    using PortMarks = std::function<void(int comNumber)>;

    // Longest start of a reply that is held for the next read; older bytes are dropped.
    static constexpr int kMaxHeldBytes = 1024;

    CatLink(ISerialPort& port, ILogSink& catLog, IIndicator& catLamp, IAlerts& alerts,
            RadioState& state, CatParser& parser);

    void SendCAT(const QString& command) override;
    // The port is open and the last read brought a full status reply.
    bool LinkUp() const override;

    // Reads what the radio has sent and hands every complete reply to ParseCAT.
    // A failed read marks the link down; a failing port is reported once
    // (by SendCAT or GetCAT) until a read works again.
    void GetCAT();
    // Gives a reply on its way up to `milliseconds` to arrive whole before the next read.
    void AwaitReply(int milliseconds);

    // Port selection: a failure to open (a missing or busy device) is thrown
    // after the old port is closed and the marks are set.
    void SelectPort(int comNumber, const PortMarks& setMarks);
    void SelectNone(const PortMarks& setMarks);

private:
    void CloseIfOpen();
    void TakeRead(const QByteArray& read);
    void ParseReplies(const QByteArray& text);
    void HoldFragment(const QByteArray& fragment, int alreadyLogged);
    void MarkLinkDown();
    void ReportPortFailure(const QString& routine, const VbError& error);

    ISerialPort& port_;
    ILogSink& catLog_;
    IIndicator& catLamp_;
    IAlerts& alerts_;
    RadioState& state_;
    CatParser& parser_;

    // Received text after the last ";" — the start of a reply still on its way.
    QByteArray held_;
    // How many leading bytes of held_ the log has already shown.
    int heldLogged_ = 0;
    bool portFailureShown_ = false;
};
