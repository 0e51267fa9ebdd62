#pragma once

#include <QString>

// What the CAT link hands on (see CatLink): each whole reply of the radio,
// and the news that it is not answering. UI thread only.
class ICatReplies {
public:
    virtual ~ICatReplies() = default;
    // `reply` is one whole reply, ";" included. A reply that is not
    // `current` answers a query that commands sent later have overtaken (the
    // wheel moved on meanwhile): it proves the link, but the values the
    // program holds are newer than its own.
    virtual void TakeReply(const QString& reply, bool current) = 0;
    // The radio refused ("?;") the query `query` ("FB"); empty when no query waited.
    virtual void TakeRefusal(const QByteArray& query) = 0;
    // A read brought no reply, or the line failed or was closed.
    virtual void TakeSilence() = 0;
};
