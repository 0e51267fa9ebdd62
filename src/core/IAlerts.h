#pragma once

#include <QString>

class ILogSink;

// Every message box and input box of the program goes through this interface,
// so that tests can record and answer them.
//
// A box with an OK button only is a report: it never makes its caller wait,
// so the tick, the request or the read that raised it ends as it would
// without it, and the poll, MIDI and network clients go on while the box is
// open. A report whose text is already open or waiting is not shown again;
// the repeat goes to the repeat log. Questions (Yes/No, input) wait for
// their answer; only commands the user gives ask them.
class IAlerts {
public:
    enum class Icon { None, Information, Critical };

    virtual ~IAlerts() = default;

    // A report with an OK button. An empty title means the program's default title.
    virtual void Tell(const QString& text, Icon icon, const QString& title = QString()) = 0;
    // A question with Yes and No: true for Yes.
    virtual bool AskYesNo(const QString& text, Icon icon, const QString& title = QString()) = 0;
    // Returns the typed answer; Cancel gives the empty text.
    virtual QString AskForText(const QString& prompt, const QString& title, const QString& defaultAnswer) = 0;

    // Where repeats of an open report are written; nullptr: standard error.
    // `log` must outlive its use here.
    virtual void SetRepeatLog(ILogSink* log) { (void)log; }

    static QString DefaultTitle() { return QStringLiteral("Vorn-MIDI Connector"); }
};
