#pragma once

#include <QByteArray>
#include <QString>

// Hamlib's answer to one request: its return code (RIG_OK on success), the
// text to show (a value read, or why the request was refused, when Hamlib's
// own text for the code would say less) and the radio's reply to raw text.
struct HamlibAnswer {
    int code = 0;
    QString text;
    QByteArray reply;
};
