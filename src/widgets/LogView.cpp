#include "widgets/LogView.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

LogView::LogView(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setMaximumBlockCount(kMaxLines);
    // clear() empties the document behind our back; the next line then starts it anew.
    connect(document(), &QTextDocument::contentsChange, this, [this] {
        if (document()->isEmpty() && document()->blockCount() == 1)
            hasLines_ = false;
    });
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
