#include "ProgramUnderTest.h"

#include "Await.h"

#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <memory>

namespace {
constexpr int kExitWaitMs = 30000;
constexpr int kExitAgainMs = 5000;
constexpr int kXdotoolWaitMs = 10000;
const QString kTitle = QStringLiteral("^Vorn-MIDI Connector$");
}

ProgramUnderTest::ProgramUnderTest(const QString& executable, const QString& settingsFile, const QString& errorLog,
                                   QObject* parent)
    : QObject(parent), executable_(executable), settingsFile_(settingsFile), errorLog_(errorLog)
{
    errorLog_.open(QIODevice::WriteOnly | QIODevice::Truncate);
    connect(&process_, &QProcess::readyReadStandardError, this, &ProgramUnderTest::ReadTrace);
    connect(&process_, &QProcess::finished, this, &ProgramUnderTest::ended);
}

ProgramUnderTest::~ProgramUnderTest()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(5000);
}

void ProgramUnderTest::Start()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("vmc.dispatch.debug=true"));
    process_.setProcessEnvironment(env);
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.start(executable_, {QStringLiteral("--settings"), settingsFile_});
}

void ProgramUnderTest::ReadTrace()
{
    const QByteArray bytes = process_.readAllStandardError();
    errorLog_.write(bytes);
    errorLog_.flush();
    partial_ += bytes;
    qsizetype end;
    while ((end = partial_.indexOf('\n')) >= 0) {
        Take(QString::fromLocal8Bit(partial_.left(end)));
        partial_.remove(0, end + 1);
    }
}

void ProgramUnderTest::Take(const QString& line)
{
    // vmc.dispatch: "f6441" -> "#UP10": the home wheel's key of the map in use.
    static const QRegularExpression step(QStringLiteral("\"[a-z]64[0-9A-Fa-f]{2}\" -> \"#(UP|DN)([0-9]+)\""));
    const QRegularExpressionMatch match = step.match(line);
    if (!match.hasMatch())
        return;
    const qint64 hz = match.captured(2).toLongLong();
    const bool up = match.captured(1) == QLatin1String("UP");
    ++(up ? stepsUp_ : stepsDown_);
    stepsHz_ += up ? hz : -hz;
}

QString ProgramUnderTest::Xdotool(const QStringList& arguments)
{
    return XTool(QStringLiteral("xdotool"), arguments);
}

QString ProgramUnderTest::XTool(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(kXdotoolWaitMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QStringList ProgramUnderTest::Windows() const
{
    if (process_.state() != QProcess::Running)
        return {};
    const QString ids = Xdotool({QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--pid"), QString::number(Pid()), QStringLiteral("--name"), kTitle});
    return ids.isEmpty() ? QStringList() : ids.split(QLatin1Char('\n'));
}

// The boxes bear the main window's title; they are the windows that belong
// to another (WM_TRANSIENT_FOR), the main window is the one that does not.
QString ProgramUnderTest::MainWindow()
{
    if (!mainWindow_.isEmpty())
        return mainWindow_;
    for (const QString& window : Windows()) {
        const QString owner = XTool(QStringLiteral("xprop"), {QStringLiteral("-id"), window, QStringLiteral("WM_TRANSIENT_FOR")});
        if (owner.contains(QLatin1String("not found")))
            return mainWindow_ = window;
    }
    return {};
}

QStringList ProgramUnderTest::Boxes()
{
    const QString main = MainWindow();
    QStringList boxes = Windows();
    boxes.removeAll(main);
    return boxes;
}

void ProgramUnderTest::Exit(std::function<void()> answerBoxes, std::function<void(bool, int)> then)
{
    // As an operator would: the keys again now and then, should a box that
    // came up meanwhile (or a busy moment) have taken the first.
    const auto pressExit = [this, answerBoxes] {
        answerBoxes();
        Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), MainWindow(), QStringLiteral("key"),
                 QStringLiteral("alt+x")});
    };
    pressExit();
    auto sincePress = std::make_shared<QElapsedTimer>();
    sincePress->start();
    Await(this, [this, pressExit, sincePress] {
        if (Running() && sincePress->hasExpired(kExitAgainMs)) {
            pressExit();
            sincePress->restart();
        }
        return !Running();
    }, kExitWaitMs, [this, then](bool ended) {
        then(ended, ended && process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1);
    });
}
