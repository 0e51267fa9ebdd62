#pragma once

#include <QMetaType>
#include <QString>

// A request that was not carried out: the model or the radio refused it, or
// it was not sent because no radio is open or answering.
struct HamlibRefusal {
    // The request in rigctl notation, e.g. "G XCHG".
    QString command;
    // Why, in Hamlib's words where Hamlib gave them.
    QString message;
    // The model lacks the feature: the caller may reach the same by other means.
    bool unavailable = false;
};
Q_DECLARE_METATYPE(HamlibRefusal)
