#pragma once

#include "core/IRadio.h"
#include "core/RigType.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>
#include <optional>

// The Kenwood-style text that the Elecraft and Flex radios speak: every
// command the program builds and every reply it reads. A command or reply
// ends with ";"; a frequency is eleven decimal digits of hertz, zero-padded;
// "?;" is the radio's refusal. A mode is a digit of the radio's own, which
// each rig type names differently.
class CatDialect {
public:
    // What a reply answers, told by its first two characters.
    enum class Reply { Status, VfoB, Rit, Xit, NoiseBlanker, Other };

    static constexpr int kStatusReplyLength = 38;
    static constexpr int kFrequencyDigits = 11;

    // The status poll's queries, in the order the poll asks them.
    static const QList<QString>& PollQueries();

    static QString Frequency(Vfo vfo, qint64 hertz);
    // The frequency command of `vfo` with the frequency field of a stored
    // reply (a status reply for VFO A, an FB reply for VFO B); a reply
    // without eleven digits there is thrown as Type mismatch.
    static QString FrequencyFromReply(Vfo vfo, const QString& reply);
    static QString Mode(const QString& digit);
    // "PC 50;": the value with a blank where a minus would go.
    static QString Power(int percent);
    static QString CwSpeed(int wordsPerMinute);
    static QString Split(bool on);
    static QString Transmit(bool on);
    // The functions both rig types switch by CAT (Hamlib's names), and the
    // command that switches one; empty for a function they do not have.
    static const QByteArrayList& Functions();
    static QString Function(const QByteArray& name, bool on);
    // The command that sets the receive filter to `hertz`; empty where the
    // rig type's filters are not set by width.
    static QString Passband(RigType rig, int hertz);

    // The mode digit after `digit`: 1 to 6, then 9, then 1 (the radio's
    // numbers skip 7 and 8). Throws for a digit that is not a number.
    static QString NextModeDigit(const QString& digit);
    static QList<RadioMode> Modes(RigType rig);
    // Hamlib's name of mode `digit`, empty when the rig type has no such mode.
    static QByteArray ModeName(RigType rig, const QString& digit);
    // The digit of Hamlib's mode `name`, empty when the rig type has no such mode.
    static QString ModeDigit(RigType rig, const QByteArray& name);

    static Reply KindOf(const QString& reply);
    // The frequency field of a status or FB reply when it holds eleven digits.
    static std::optional<qint64> FrequencyOf(const QString& reply);
    // Characters `first` (counted from 1) on; beyond the end of a short reply empty.
    static QString Field(const QString& reply, int first, int count);
};
