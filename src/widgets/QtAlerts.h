#pragma once

#include "core/IAlerts.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>

class QMessageBox;
class QWidget;

// Message and input boxes as Qt dialogs. Reports (OK only) are shown from the
// event loop once the work that raised them has ended, application-modal and
// one at a time, in the order they came: a report of another text waits
// until the open one is closed. A report whose text is open or waiting
// already adds a line to the repeat log instead ("Same message again (3 times
// in all) while its box is open: ..."). Questions are modal dialogs that wait
// for the answer.
// UI thread only.
class QtAlerts : public QObject, public IAlerts {
    Q_OBJECT
public:
    explicit QtAlerts(QWidget* parent = nullptr);
    ~QtAlerts() override;

    void Tell(const QString& text, Icon icon, const QString& title = QString()) override;
    bool AskYesNo(const QString& text, Icon icon, const QString& title = QString()) override;
    QString AskForText(const QString& prompt, const QString& title, const QString& defaultAnswer) override;
    void SetRepeatLog(ILogSink* log) override { repeatLog_ = log; }

    // Whether a report is open or waiting.
    bool Pending() const { return !reports_.empty(); }
    // Runs the event loop until every report has been shown and closed.
    void WaitUntilAllClosed();

signals:
    void allClosed();

private:
    struct Report {
        QString text;
        Icon icon;
        QString title;
        int repeats = 0;
    };

    void Repeat(Report& report);
    void ShowNext();
    void Closed();
    QMessageBox* NewBox(const QString& text, Icon icon, const QString& title) const;

    QWidget* parent_;
    ILogSink* repeatLog_ = nullptr;
    // The open report first, then those waiting.
    std::deque<Report> reports_;
    QPointer<QMessageBox> open_;
    QTimer showTimer_;
};
