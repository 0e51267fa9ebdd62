#pragma once

#include "core/IAlerts.h"

class QWidget;

// Message and input boxes shown as modal Qt dialogs.
class QtAlerts : public IAlerts {
public:
    explicit QtAlerts(QWidget* parent = nullptr) : parent_(parent) {}

    Answer MsgBox(const QString& text, Buttons buttons, Icon icon,
                  const QString& title = QString()) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultAnswer) override;

private:
    QWidget* parent_;
};
