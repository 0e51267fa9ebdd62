#pragma once

#include <QString>

// The program's copy of the radio's state, filled by the poll and stepped by the wheel.
struct RadioState {
    QString vfo_a_str;
    QString vfo_b_str;
    QString Mode;
    QString rit;
    QString xit;
    // Transmit ("1") or receive ("0"), and split ("1": VFO B transmits), one
    // character each from the last full status reply.
    QString tx;
    QString split;
    QString last_cat_if;
    QString last_cat_fb;
    QString last_cat_mode;
    bool valid_cat_a = false;
    bool valid_cat_b = false;
};
