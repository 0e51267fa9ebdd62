// The receive road from the radio: whatever arrives on the serial line, cut
// into reads at any place, goes through GetCAT into ParseCAT. Besides never
// crashing, every complete reply must be parsed whole (no fragment, no two
// replies glued together) and the CAT log must show the line's bytes in order.
#include "FuzzCheck.h"
#include "support/CatRig.h"
#include "support/FakeSerialPort.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// What the radio has said so far, split into replies at each ";".
struct ReplyModel {
    QByteArray pending;
    QByteArray lastIf;
    QByteArray lastFb;
    // Past the longest held fragment the link drops bytes on purpose.
    bool overflowed = false;

    void Take(const QByteArray& read)
    {
        pending += read;
        for (qsizetype end = pending.indexOf(';'); end >= 0; end = pending.indexOf(';')) {
            const QByteArray reply = pending.left(end + 1);
            pending.remove(0, end + 1);
            if (reply.startsWith("IF") && reply.size() == CatParser::kIfReplyLength)
                lastIf = reply;
            else if (reply.startsWith("FB"))
                lastFb = reply;
        }
        overflowed = overflowed || pending.size() > CatLink::kMaxHeldBytes;
    }
};

// True when `part` can be made from `whole` by leaving bytes out.
bool IsSubsequence(const QString& part, const QString& whole)
{
    qsizetype at = 0;
    for (QChar c : part) {
        at = whole.indexOf(c, at);
        if (at < 0)
            return false;
        ++at;
    }
    return true;
}

void CheckReply(const QString& stored, const char* name)
{
    if (stored.isEmpty())
        return;
    Require(stored.startsWith(QLatin1String(name)) && stored.endsWith(QLatin1Char(';')) &&
                stored.count(QLatin1Char(';')) == 1,
            "a stored reply is one whole reply", stored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    CatRig<FakeSerialPort> rig;
    rig.port.open = true;
    ReplyModel model;
    QByteArray stream;
    // False once the link may rightly have dropped bytes it held.
    bool exact = true;

    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange<int>(0, 5)) {
        case 4:
            // The user picks the port again: a fragment of the old line is forgotten.
            rig.link.SelectPort(1, rig.setMarks);
            model.pending.clear();
            exact = false;
            continue;
        case 5:
            rig.port.open = !rig.port.open;
            break;
        default: {
            const QByteArray read = QByteArray::fromStdString(
                input.ConsumeRandomLengthString(2 * CatLink::kMaxHeldBytes));
            if (rig.port.open) {
                rig.port.reads.append(read);
                stream += read;
                model.Take(read);
            }
        }
        }
        rig.link.GetCAT();

        CheckReply(rig.state.last_cat_if, "IF");
        CheckReply(rig.state.last_cat_fb, "FB");
        Require(rig.state.vfo_a_str == rig.state.last_cat_if.mid(2, 11), "VFO A from the IF reply");
        Require(rig.state.vfo_b_str == rig.state.last_cat_fb.mid(2, 11), "VFO B from the FB reply");
        Require(rig.state.Mode.size() <= 1 && rig.state.rit.size() <= 1 && rig.state.xit.size() <= 1,
                "one-character fields");
        for (const QString& text : rig.alerts.texts())
            Require(text.startsWith(QLatin1String("VB6 runtime error (GetCAT): 8018 - ")),
                    "only a closed port is reported", text);
        const QString logged = rig.log.lines.join(QString());
        Require(IsSubsequence(logged, QString::fromLatin1(stream)),
                "the log shows only the line's bytes, in order, each once");
        if (model.overflowed)
            continue;
        Require(rig.state.last_cat_if == QString::fromLatin1(model.lastIf), "last IF reply",
                rig.state.last_cat_if);
        Require(rig.state.last_cat_fb == QString::fromLatin1(model.lastFb), "last FB reply",
                rig.state.last_cat_fb);
        if (exact)
            Require(QString::fromLatin1(stream).startsWith(logged), "the log misses no byte");
    }
    return 0;
}
