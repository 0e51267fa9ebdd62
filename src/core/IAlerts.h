#pragma once

#include <QString>

// Every message box and input box of the program goes through this interface,
// so that tests can record and answer them.
class IAlerts {
public:
    enum class Icon { None, Information, Critical };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~IAlerts() = default;

    // An empty title means the program's default title.
    virtual Answer MsgBox(const QString& text, Buttons buttons, Icon icon,
                          const QString& title = QString()) = 0;

    // Returns the typed answer; Cancel gives the empty text.
    virtual QString InputBox(const QString& prompt, const QString& title,
                             const QString& defaultAnswer) = 0;

    static QString DefaultTitle() { return QStringLiteral("Vorn-MIDI Connector"); }
};
