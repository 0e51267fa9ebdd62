#pragma once

#include "core/Routine.h"

#include <QChar>
#include <QList>
#include <QString>
#include <optional>

// The radio families the program speaks to on its own CAT link, and any
// other radio, reached through Hamlib. Each has its own key map and its own
// menu item.
enum class RigType { Elecraft, Flex, Hamlib };

// The one place where a rig type meets its texts.
class RigTypes {
public:
    struct Info {
        RigType type;
        QString settingsValue;  // setting "rigtype"
        QChar keyLetter;        // first letter of its key map's entries, "e6441"
        QString name;           // as the key map editor names it
        QString menuText;       // its item in the "Rig Type" menu
        QString textEntries;    // what its key map's text entries are, as the key map editor says
        Routine menuRoutine;
        Routine loadKeyMapRoutine;
        Routine saveKeyMapRoutine;
    };

    static const QList<Info>& All();
    static const Info& Of(RigType type);
    // The rig type whose settings value is exactly `text`.
    static std::optional<RigType> FromSetting(const QString& text);
};
