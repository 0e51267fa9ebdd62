#include "widgets/LogView.h"

#include <QApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {
int argc = 1;
char arg0[] = "test";
char* argv[] = {arg0, nullptr};
QApplication* App()
{
    static QApplication* app = qApp ? qApp : new QApplication(argc, argv);
    return app;
}
} // namespace

TEST(LogView, AppendsLinesInOrderWithEmptyLinesKept)
{
    App();
    LogView log;
    log.AppendLine("");
    log.AppendLine("first");
    log.AppendLine("");
    EXPECT_EQ(log.toPlainText(), "\nfirst\n");
    log.clear();
    log.AppendLine("after clear");
    EXPECT_EQ(log.toPlainText(), "after clear");
}

TEST(LogView, KeepsTheNewestLinesOnly)
{
    App();
    LogView log;
    for (int i = 0; i < LogView::kMaxLines + 250; ++i)
        log.AppendLine(QString::number(i));
    EXPECT_EQ(log.document()->blockCount(), LogView::kMaxLines);
    EXPECT_EQ(log.document()->firstBlock().text(), "250");
    EXPECT_EQ(log.document()->lastBlock().text(), QString::number(LogView::kMaxLines + 249));
}

TEST(LogView, NewestLineIsInView)
{
    App();
    LogView log;
    log.resize(200, 100);
    log.show();
    for (int i = 0; i < 500; ++i)
        log.AppendLine(QString("line %1").arg(i));
    EXPECT_EQ(log.verticalScrollBar()->value(), log.verticalScrollBar()->maximum());
    EXPECT_GT(log.verticalScrollBar()->maximum(), 0);
}
