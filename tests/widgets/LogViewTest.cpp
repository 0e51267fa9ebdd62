#include "widgets/LogView.h"

#include <QScrollBar>
#include <QTextBlock>
#include <gtest/gtest.h>

// A log that runs for a weekend keeps its newest lines in order, in view.
TEST(LogView, KeepsTheNewestLinesInOrderAndInView)
{
    LogView log;
    log.AppendLine("");
    log.AppendLine("first");
    log.AppendLine("");
    EXPECT_EQ(log.toPlainText(), "\nfirst\n");
    log.clear();
    log.AppendLine("after clear");
    EXPECT_EQ(log.toPlainText(), "after clear");

    log.resize(200, 100);
    log.show();
    for (int i = 0; i < LogView::kMaxLines + 250; ++i)
        log.AppendLine(QString::number(i));
    EXPECT_EQ(log.document()->blockCount(), LogView::kMaxLines);
    EXPECT_EQ(log.document()->firstBlock().text(), "250");
    EXPECT_EQ(log.document()->lastBlock().text(), QString::number(LogView::kMaxLines + 249));
    EXPECT_GT(log.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(log.verticalScrollBar()->value(), log.verticalScrollBar()->maximum());
}
