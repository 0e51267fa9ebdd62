#include "app/LogView.h"

#include <QScrollBar>
#include <QTextCursor>

LogView::LogView(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setMaximumBlockCount(kMaxLines);
}

void LogView::AppendLine(const QString& line)
{
    // Inserting at the end through a cursor avoids appendPlainText's extra
    // paragraph handling; the newest line is then brought into view.
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (hasLines_)
        cursor.insertBlock();
    hasLines_ = true;
    cursor.insertText(line);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
