// bench_logview: cost of LogView::AppendLine with 100 lines and with a full
// log of 10 000 lines, for the call alone and for the call plus one pass of
// the event loop (layout and painting of the shown log), as the MIDI pump
// does once per tick.
#include "widgets/LogView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString kLine = QStringLiteral("B0 64 41 Timestamp: 0001223F");

void Fill(LogView& view, int lines)
{
    view.clear();
    for (int i = 0; i < lines; ++i)
        view.AppendLine(kLine);
    QCoreApplication::processEvents();
}

double MicrosPerAppend(LogView& view, int startLines, int appends, bool withEventLoop)
{
    Fill(view, startLines);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < appends; ++i) {
        view.AppendLine(kLine);
        if (withEventLoop)
            QCoreApplication::processEvents();
    }
    return double(clock.nsecsElapsed()) / 1000.0 / appends;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LogView view;
    view.resize(297, 81);  // the main window's MIDI log
    view.show();
    for (bool loop : {false, true}) {
        for (int lines : {100, LogView::kMaxLines}) {
            // Median of five runs keeps one slow pass from deciding the figure.
            std::vector<double> runs;
            for (int r = 0; r < 5; ++r)
                runs.push_back(MicrosPerAppend(view, lines, lines == 100 ? 100 : 1000, loop));
            std::sort(runs.begin(), runs.end());
            std::printf("AppendLine%s, log of %5d lines: %7.2f us per line\n",
                        loop ? " + event loop pass" : "                  ", lines, runs[2]);
        }
    }
    return 0;
}
