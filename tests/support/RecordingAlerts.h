#pragma once

#include "core/IAlerts.h"
#include "support/QtPrinters.h"

#include <QList>
#include <QStringList>

// Records every box and answers from a queue (Ok / the default answer when empty).
class RecordingAlerts : public IAlerts {
public:
    struct Box {
        QString text;
        Buttons buttons;
        Icon icon;
        QString title;
    };

    Answer MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title = QString()) override
    {
        boxes.append(Box{text, buttons, icon, title});
        if (buttons == Buttons::YesNo)
            return yesNoAnswers.isEmpty() ? Answer::No : yesNoAnswers.takeFirst();
        return Answer::Ok;
    }

    QString InputBox(const QString&, const QString&, const QString& defaultAnswer) override
    {
        inputDefaults.append(defaultAnswer);
        return inputAnswers.isEmpty() ? defaultAnswer : inputAnswers.takeFirst();
    }

    QStringList texts() const
    {
        QStringList out;
        for (const Box& b : boxes)
            out << b.text;
        return out;
    }

    QList<Box> boxes;
    QStringList inputDefaults;
    QList<Answer> yesNoAnswers;
    QStringList inputAnswers;
};
