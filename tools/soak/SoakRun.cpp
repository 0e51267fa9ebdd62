#include "SoakRun.h"

#include "Await.h"
#include "RigctlQuery.h"
#include "RigctldRadio.h"
#include "SimRadio.h"

#include <QTcpServer>

namespace {
constexpr qint64 kStartHz = 14074000;
constexpr int kCatPollMs = 200;
constexpr int kWindowWaitMs = 30000;
constexpr int kFirstAnswerWaitMs = 30000;
constexpr int kSettleEveryMs = 250;
// After the wheel stopped: the radio must reach the counted frequency and stay there.
constexpr int kSettleTries = 20000 / kSettleEveryMs;
constexpr int kLeastLoggers = 2;
constexpr int kMostLoggers = 3;
// Memory is measured after the first five minutes, or the first third of a shorter run.
constexpr qint64 kWarmUpMs = 5 * 60000;
constexpr double kLongRunMinutes = 10;
constexpr double kMostGrowthMbPerHour = 10;
constexpr int kMostFdGrowth = 8;
constexpr int kAnswerBoxesMs = 20000;
constexpr quint32 kHandSeed = 0x68616e64;
constexpr quint32 kLoggerSeed = 0x6c6f6767;

quint16 FreePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

std::unique_ptr<StationRadio> RadioFor(const SoakOptions& options)
{
    if (options.road == Road::Rigctld)
        return std::make_unique<RigctldRadio>(options.dir, FreePort());
    return std::make_unique<SimRadio>(options.radiosim, options.dir, options.road, FreePort());
}
}

SoakRun::SoakRun(const SoakOptions& options, QObject* parent)
    : QObject(parent), options_(options), random_(options.seed), handRandom_(options.seed ^ kHandSeed),
      loggerRandom_(options.seed ^ kLoggerSeed), rigctlPort_(FreePort()),
      settings_(options.dir + QStringLiteral("/vorn-midi-connector.ini")), radio_(RadioFor(options)),
      controller_(handRandom_),
      program_(options.program, settings_.path(), options.dir + QStringLiteral("/program.err")),
      boxes_(program_), nuisance_(rigctlPort_), sampler_(options.dir + QStringLiteral("/resources.csv")),
      station_{random_, report_, program_, *radio_, controller_, boxes_, settings_, nuisance_, rigctlPort_, kStartHz},
      faults_(station_, options.DurationMs())
{
}

SoakRun::~SoakRun() = default;

QStringList SoakRun::Settings() const
{
    return QStringList{QStringLiteral("settings/mautoconnect=1"),
                       QStringLiteral("settings/polltime=%1").arg(kCatPollMs), QStringLiteral("settings/rigctld=1"),
                       QStringLiteral("settings/rigctldport=%1").arg(rigctlPort_)}
           + radio_->SettingsLines();
}

void SoakRun::Start()
{
    report_.Note(QStringLiteral("soak seed %1 road %2, %3 min, files in %4")
                     .arg(options_.seed)
                     .arg(SoakOptions::RoadName(options_.road))
                     .arg(options_.minutes)
                     .arg(options_.dir));
    if (!settings_.Write(Settings()))
        return Abort(QStringLiteral("cannot write the settings file"));
    // The controller is there first, so that the program's automatic connection finds it.
    if (!controller_.Plug())
        return Abort(QStringLiteral("the controller cannot be plugged in: ") + controller_.lastError());
    radio_->Start(kStartHz, 0, [this](bool on) {
        if (!on)
            return Abort(QStringLiteral("the radio did not start"));
        StartProgram();
    });
}

void SoakRun::StartProgram()
{
    program_.Start();
    Await(this, [this] { return !program_.MainWindow().isEmpty() || !program_.Running(); }, kWindowWaitMs,
          [this](bool) {
              if (program_.MainWindow().isEmpty())
                  return Abort(QStringLiteral("the program showed no window"));
              AwaitFirstAnswer();
          });
}

void SoakRun::AwaitFirstAnswer()
{
    auto answered = std::make_shared<bool>(false);
    auto asking = std::make_shared<bool>(false);
    Await(this, [this, answered, asking] {
        if (!*asking) {
            *asking = true;
            RigctlQuery::Run(this, rigctlPort_, {QStringLiteral("f")}, [answered, asking](const QString& output) {
                *answered = RigctlQuery::Frequency(output) == kStartHz;
                *asking = false;
            });
        }
        return *answered;
    }, kFirstAnswerWaitMs, [this](bool ok) {
        report_.Check(ok, QStringLiteral("start: the program shows its window and reads the radio"),
                      QStringLiteral("no VFO A from the network rig control"));
        if (!ok)
            return Abort(QStringLiteral("the station never came up"));
        RunFaults();
    });
}

void SoakRun::RunFaults()
{
    const qint64 runMs = options_.DurationMs();
    sampler_.Start(program_.Pid(), std::min(kWarmUpMs, runMs / 3));
    boxes_.Start();
    const int loggers = int(random_.bounded(kLeastLoggers, kMostLoggers + 1));
    for (int i = 0; i < loggers; ++i) {
        loggers_.push_back(std::make_unique<LoggerClient>(rigctlPort_, loggerRandom_));
        loggers_.back()->Start();
    }
    controller_.Turn();
    faults_.Start();
    After(this, int(runMs), [this] {
        report_.Note(QStringLiteral("time is up: the faults end"));
        faults_.Finish([this] { Wind(); });
    });
}

void SoakRun::Wind()
{
    controller_.Stop();
    for (const auto& logger : loggers_)
        logger->Stop();
    report_.Note(QStringLiteral("the wheel stopped; waiting for the line to settle"));
    Settle(kSettleTries, -1);
}

void SoakRun::Settle(int triesLeft, qint64 lastHz)
{
    After(this, kSettleEveryMs, [=] {
        radio_->ReadVfoA([=](qint64 hz) {
            // Two readings alike and at the count, or the time is up.
            if ((hz == lastHz && hz == station_.ExpectedVfoA()) || triesLeft <= 1)
                CheckCount(hz);
            else
                Settle(triesLeft - 1, hz);
        });
    });
}

void SoakRun::CheckCount(qint64 radioHz)
{
    const qint64 expected = station_.ExpectedVfoA();
    report_.Figure(QStringLiteral("clicks: %1 sent, %2 acted on (%3 up, %4 down), expected VFO A %5 Hz, radio %6 Hz")
                       .arg(controller_.ClicksSent())
                       .arg(program_.Steps())
                       .arg(program_.StepsUp())
                       .arg(program_.StepsDown())
                       .arg(expected)
                       .arg(radioHz));
    report_.Check(radioHz == expected, QStringLiteral("VFO A at the radio is the start plus every step acted on"),
                  QStringLiteral("radio %1 Hz, expected %2 Hz (off by %3 Hz)")
                      .arg(radioHz)
                      .arg(expected)
                      .arg(radioHz - expected));
    report_.Check(program_.Steps() > 0, QStringLiteral("the program acted on the wheel"));
    report_.Check(program_.Steps() <= controller_.ClicksSent(), QStringLiteral("no click acted on twice"),
                  QStringLiteral("%1 acted on, %2 sent").arg(program_.Steps()).arg(controller_.ClicksSent()));
    CheckLoggerAnswer();
}

void SoakRun::CheckLoggerAnswer()
{
    RigctlQuery::Run(this, rigctlPort_, {QStringLiteral("f")}, [this](const QString& output) {
        const std::optional<qint64> hz = RigctlQuery::Frequency(output);
        report_.Check(hz == station_.ExpectedVfoA(), QStringLiteral("a logger reads VFO A from the program at the end"),
                      QStringLiteral("rigctl f said '%1'").arg(output.trimmed()));
        CheckExit();
    });
}

void SoakRun::CheckExit()
{
    sampler_.TakeSample();
    sampler_.Stop();
    boxes_.Stop();
    openBoxesAtEnd_ = int(boxes_.Look().size());
    boxesAnsweredInRun_ = boxes_.Closed();
    // The boxes are application-modal: the operator answers them (and any that
    // follow) before reaching the menu.
    Await(this, [this] {
        boxes_.CloseAll();
        return boxes_.Look().isEmpty();
    }, kAnswerBoxesMs, [this](bool answered) {
        report_.Check(answered, QStringLiteral("every box answered at the end"));
        Exit();
    });
}

void SoakRun::Exit()
{
    program_.Exit([this] { boxes_.CloseAll(); }, [this](bool ended, int status) {
        report_.Check(ended && status == 0, QStringLiteral("E&xit ends the program with status 0"),
                      ended ? QStringLiteral("status %1").arg(status) : QStringLiteral("still running after E&xit"));
        CheckTheRest();
    });
}

void SoakRun::CheckTheRest()
{
    faults_.Report();
    const QStringList faults = settings_.Faults();
    report_.Check(faults.isEmpty(),
                  QStringLiteral("settings file intact (%1 hand edits kept)").arg(settings_.HandEdits()),
                  faults.join(QStringLiteral("; ")));
    int reads = 0, errors = 0, sets = 0, sessions = 0;
    QStringList errorLines;
    for (const auto& logger : loggers_) {
        errorLines << logger->FirstErrors();
        reads += logger->Reads();
        errors += logger->Errors();
        sets += logger->VfoBSets();
        sessions += logger->Sessions();
    }
    report_.Figure(QStringLiteral("loggers: %1 on %2 sessions, %3 frequency reads, %4 errors, %5 VFO B settings")
                       .arg(loggers_.size()).arg(sessions).arg(reads).arg(errors).arg(sets));
    errorLines.removeDuplicates();
    if (!errorLines.isEmpty())
        report_.Figure(QStringLiteral("loggers' errors, such as: ") + errorLines.join(QStringLiteral(" | ")));
    report_.Check(reads > 0, QStringLiteral("loggers read the frequency"));
    const int vfoB = radio_->VfoBCommands();
    if (vfoB >= 0)
        report_.Check(vfoB > 0, QStringLiteral("loggers' VFO B settings reached the radio (%1 FB commands)").arg(vfoB));
    report_.Check(radio_->StrayVfoACommands() == 0, QStringLiteral("VFO A at the radio never left the wheel's band"),
                  QStringLiteral("%1 times far off (a logger's VFO B, or a half request)")
                      .arg(radio_->StrayVfoACommands()));
    report_.Figure(QStringLiteral("controller: %1 button presses, %2 lights received, %3 messages not sent")
                       .arg(controller_.PressesSent()).arg(controller_.LightsReceived()).arg(controller_.Unsent()));
    report_.Figure(QStringLiteral("boxes: %1 shown, %2 answered during the run, %3 open at the end")
                       .arg(boxes_.Shown()).arg(boxesAnsweredInRun_).arg(openBoxesAtEnd_));
    ReportResources();
    radio_->Kill();
    emit finished(report_.Close(RunTitle()));
}

void SoakRun::ReportResources()
{
    const QList<ResourceSampler::Sample> steady = sampler_.Steady();
    if (steady.isEmpty())
        return;
    const double growth = ResourceSampler::GrowthMbPerHour(steady);
    const double lateGrowth = ResourceSampler::GrowthMbPerHour(sampler_.Late());
    const bool longRun = options_.minutes >= kLongRunMinutes;
    report_.Figure(QStringLiteral("memory: RSS %1 MB first, %2 MB last, growth %3 MB/h after warm-up (%4 samples), "
                                  "%5 MB/h in the last third%6")
                       .arg(steady.first().rssMb, 0, 'f', 1)
                       .arg(steady.last().rssMb, 0, 'f', 1)
                       .arg(growth, 0, 'f', 2)
                       .arg(steady.size())
                       .arg(lateGrowth, 0, 'f', 2)
                       .arg(longRun ? QString() : QStringLiteral("; too short a run to judge")));
    report_.Figure(QStringLiteral("file descriptors: %1 first, %2 last, %3 at most")
                       .arg(steady.first().fds)
                       .arg(steady.last().fds)
                       .arg(sampler_.MaxFds()));
    report_.Check(steady.last().fds <= steady.first().fds + kMostFdGrowth,
                  QStringLiteral("open file descriptors stay level"));
    // The program's two logs keep up to 10000 lines each and fill during the
    // first half hour or so; what grows after that is what counts.
    if (longRun)
        report_.Check(lateGrowth <= kMostGrowthMbPerHour,
                      QStringLiteral("resident memory in the last third grows at most %1 MB/h")
                          .arg(kMostGrowthMbPerHour),
                      QStringLiteral("%1 MB/h").arg(lateGrowth, 0, 'f', 2));
}

QString SoakRun::RunTitle() const
{
    return QStringLiteral("soak seed %1 road %2 %3 min")
        .arg(options_.seed)
        .arg(SoakOptions::RoadName(options_.road))
        .arg(options_.minutes);
}

void SoakRun::Abort(const QString& why)
{
    report_.Check(false, QStringLiteral("the soak ran"), why);
    radio_->Kill();
    emit finished(report_.Close(RunTitle()));
}
