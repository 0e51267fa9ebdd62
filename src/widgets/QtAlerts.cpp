#include "widgets/QtAlerts.h"

#include <QInputDialog>
#include <QMessageBox>

IAlerts::Answer QtAlerts::MsgBox(const QString& text, Buttons buttons, Icon icon,
                                 const QString& title)
{
    QMessageBox box(parent_);
    box.setWindowTitle(title.isEmpty() ? DefaultTitle() : title);
    box.setText(text);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

QString QtAlerts::InputBox(const QString& prompt, const QString& title,
                           const QString& defaultAnswer)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal,
                                                 defaultAnswer, &ok);
    return ok ? answer : QString();
}
