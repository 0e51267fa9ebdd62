#pragma once

#include <QString>

// The one road to the radio: writes a CAT command unchanged (see CatLink::SendCAT).
class ICatSender {
public:
    virtual ~ICatSender() = default;
    virtual void SendCAT(const QString& command) = 0;
};
