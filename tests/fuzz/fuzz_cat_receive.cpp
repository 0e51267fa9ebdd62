// The receive road from the radio: whatever arrives on the serial line, cut
// into reads at any place, goes through GetCAT into ParseCAT. Besides never
// crashing, every complete reply must be parsed whole (no fragment, no two
// replies glued together) and the CAT log must show the line's bytes in order.
#include "FuzzCheck.h"
#include "cat/CatDialect.h"
#include "support/CatRig.h"
#include "support/FakeCatLine.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <tuple>

namespace {

// What the radio has said so far, split into replies at each ";". Replies are
// printable text: a byte outside it is line noise, and a reply begins after it.
struct ReplyModel {
    QByteArray pending, lastIf, lastFb;
    // Past the longest held fragment the link drops bytes on purpose.
    bool overflowed = false;

    void Take(const QByteArray& read)
    {
        pending += read;
        for (qsizetype end = pending.indexOf(';'); end >= 0; end = pending.indexOf(';')) {
            QByteArray reply = pending.left(end + 1);
            pending.remove(0, end + 1);
            const auto noise = std::find_if(reply.crbegin(), reply.crend(), [](char c) { return c < 0x20 || c > 0x7E; });
            reply.remove(0, reply.crend() - noise);
            if (reply.startsWith("IF") && reply.size() == CatDialect::kStatusReplyLength
                && CatDialect::FrequencyOf(QString::fromLatin1(reply)))
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
    return std::all_of(part.begin(), part.end(), [&](QChar c) { return (at = whole.indexOf(c, at) + 1) > 0; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    CatRig<FakeCatLine> rig;
    rig.port.open = true;
    ReplyModel model;
    QByteArray stream;
    // False once the link may rightly have dropped bytes it held.
    bool exact = true;

    while (input.remaining_bytes() > 0) {
        const int step = input.ConsumeIntegralInRange<int>(0, 5);
        if (step == 4) {
            // The user picks the port again: a fragment of the old line is forgotten.
            rig.link.SelectPort(1, rig.setMarks);
            model.pending.clear();
            exact = false;
            continue;
        }
        // Reading nothing, or (step 5) the port closing or opening meanwhile.
        rig.port.open = rig.port.open != (step == 5);
        const QByteArray read =
            step == 5 ? QByteArray() : QByteArray::fromStdString(input.ConsumeRandomLengthString(2 * CatLink::kMaxHeldBytes));
        if (rig.port.open) {
            rig.port.reads.append(read);
            stream += read;
            model.Take(read);
        }
        rig.link.ReadReplies();

        // A stored reply is one whole reply, its VFO's frequency is taken from
        // it where it has one, and (unless the link rightly dropped bytes) it
        // is the line's last of its kind.
        const RadioState& s = rig.state();
        for (const auto& [name, stored, vfo, last] :
             {std::tuple("IF", rig.radio.statusReply(), s.vfoA, model.lastIf),
              std::tuple("FB", rig.radio.vfoBReply(), s.vfoB, model.lastFb)}) {
            Require(stored.isEmpty() || (stored.startsWith(QLatin1String(name)) && stored.indexOf(';') == stored.size() - 1),
                    "a stored reply is one whole reply", stored);
            const std::optional<qint64> hertz = CatDialect::FrequencyOf(stored);
            Require((!hertz || vfo == *hertz) && (model.overflowed || stored == QString::fromLatin1(last)),
                    "the VFO from the last reply of its kind", stored);
        }
        Require(rig.radio.modeDigit().size() <= 1, "a one-character mode");
        for (const QString& text : rig.alerts.texts())
            Require(text.startsWith(QLatin1String("VB6 runtime error (GetCAT): 8018 - ")), "only a closed port is reported", text);
        const QString logged = rig.log.lines.join(QString());
        Require(IsSubsequence(logged, QString::fromLatin1(stream)), "the log shows only the line's bytes, in order, each once");
        Require(model.overflowed || !exact || QString::fromLatin1(stream).startsWith(logged), "the log misses no byte");
    }
    return 0;
}
