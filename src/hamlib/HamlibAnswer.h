#pragma once

#include <QString>

// Hamlib's answer to one request: its return code (RIG_OK on success) and
// why it was refused where Hamlib's own text for the code would say less.
struct HamlibAnswer {
    int code = 0;
    QString text;
};
