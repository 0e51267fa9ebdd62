#pragma once

#include "core/IAlerts.h"
#include "support/QtPrinters.h"

#include <QList>
#include <QStringList>

// Records every box and answers from a queue (No / the default answer when empty).
class RecordingAlerts : public IAlerts {
public:
    struct Box {
        QString text;
        bool question;
        Icon icon;
        QString title;
    };

    void Tell(const QString& text, Icon icon, const QString& title = QString()) override
    {
        boxes.append(Box{text, false, icon, title});
    }

    bool AskYesNo(const QString& text, Icon icon, const QString& title = QString()) override
    {
        boxes.append(Box{text, true, icon, title});
        return !yesNoAnswers.isEmpty() && yesNoAnswers.takeFirst();
    }

    QString AskForText(const QString&, const QString&, const QString& defaultAnswer) override
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
    QList<bool> yesNoAnswers;
    QStringList inputAnswers;
};
