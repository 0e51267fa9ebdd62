#include "widgets/QtAlerts.h"

#include "core/ILogSink.h"

#include <QEventLoop>
#include <QInputDialog>
#include <QMessageBox>
#include <cstdio>

QtAlerts::QtAlerts(QWidget* parent) : parent_(parent)
{
    showTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, &QtAlerts::ShowNext);
}

QtAlerts::~QtAlerts()
{
    delete open_.data();
}

void QtAlerts::Tell(const QString& text, Icon icon, const QString& title)
{
    for (Report& report : reports_) {
        if (report.text == text && report.title == title) {
            Repeat(report);
            return;
        }
    }
    reports_.push_back(Report{text, icon, title});
    // Shown once the caller's work has ended, from the event loop.
    if (!open_ && !showTimer_.isActive())
        showTimer_.start(0);
}

void QtAlerts::Repeat(Report& report)
{
    ++report.repeats;
    const QString line = QStringLiteral("Same message again (%1 times in all) while its box is open: %2")
                             .arg(report.repeats + 1)
                             .arg(QString(report.text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    if (repeatLog_)
        repeatLog_->AppendLine(line);
    else
        std::fprintf(stderr, "vorn-midi-connector: %s\n", qPrintable(line));
}

void QtAlerts::ShowNext()
{
    if (open_)
        return;
    if (reports_.empty()) {
        emit allClosed();
        return;
    }
    const Report& next = reports_.front();
    open_ = NewBox(next.text, next.icon, next.title);
    open_->setAttribute(Qt::WA_DeleteOnClose);
    open_->setWindowModality(Qt::ApplicationModal);
    open_->setStandardButtons(QMessageBox::Ok);
    connect(open_, &QMessageBox::finished, this, &QtAlerts::Closed);
    open_->show();
}

void QtAlerts::Closed()
{
    open_ = nullptr;
    reports_.pop_front();
    ShowNext();
}

void QtAlerts::WaitUntilAllClosed()
{
    if (!Pending())
        return;
    QEventLoop loop;
    connect(this, &QtAlerts::allClosed, &loop, &QEventLoop::quit);
    loop.exec();
}

bool QtAlerts::AskYesNo(const QString& text, Icon icon, const QString& title)
{
    // Guarded: the parent may go while the question waits (the program ends).
    QPointer<QMessageBox> box = NewBox(text, icon, title);
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    const bool yes = box->exec() == QMessageBox::Yes;
    delete box.data();
    return yes;
}

QMessageBox* QtAlerts::NewBox(const QString& text, Icon icon, const QString& title) const
{
    auto* box = new QMessageBox(parent_);
    box->setWindowTitle(title.isEmpty() ? DefaultTitle() : title);
    box->setText(text);
    switch (icon) {
    case Icon::None: box->setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box->setIcon(QMessageBox::Information); break;
    case Icon::Critical: box->setIcon(QMessageBox::Critical); break;
    }
    return box;
}

QString QtAlerts::AskForText(const QString& prompt, const QString& title, const QString& defaultAnswer)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal,
                                                 defaultAnswer, &ok);
    return ok ? answer : QString();
}
