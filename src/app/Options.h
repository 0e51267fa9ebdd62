#pragma once

#include <QString>

// The options the main window keeps while it runs, as read from and written
// to section "settings". All are texts, exactly as stored.
struct Options {
    QString catport;
    QString polltime;
    QString midipolltime;
    QString mautoconnect;
    QString rigtype;
};
