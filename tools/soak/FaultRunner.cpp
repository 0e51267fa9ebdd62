#include "FaultRunner.h"

#include "Await.h"
#include "BoxWatch.h"
#include "NetworkNuisance.h"
#include "RigctlQuery.h"
#include "SettingsFile.h"
#include "SoakReport.h"
#include "StationRadio.h"
#include "SurfaceController.h"

#include <algorithm>

namespace {
// The wheel rests this long before the radio goes, so that no click is on its way.
constexpr int kRestBeforeKillMs = 500;
constexpr int kQueryEveryMs = 250;
// How long the program may take to notice a radio gone, and to talk to it again.
constexpr int kNoticeTries = 15000 / kQueryEveryMs;
constexpr int kRecoverTries = 30000 / kQueryEveryMs;
constexpr int kRadioAtTries = 3000 / kQueryEveryMs;
constexpr int kNoiseOneIn = 3;
constexpr int kNoiseMaxCommands = 300;
constexpr int kUnpluggedMinMs = 2000;
constexpr int kUnpluggedMaxMs = 5000;
constexpr int kPlugTries = 10;
constexpr int kPlugRetryMs = 500;
// Steps the program must act on after the controller came back, or while a box is open.
constexpr int kStepsToSee = 3;
constexpr int kStepsWaitMs = 20000;
constexpr int kBoxWaitMs = 10000;
constexpr int kAfterHalfRequestMs = 1000;
// Faults come a fortieth of the run apart on average, at least one and at most 20 s.
constexpr int kPauseDivisor = 40;
constexpr int kShortestPauseMs = 1000;
constexpr int kLongestPauseMs = 20000;

QString KindName(FaultRunner::Kind kind)
{
    static const QStringList names = {"radio restarts", "controller unplugged", "floods", "requests left unfinished",
                                      "boxes raised", "hand edits of the settings"};
    return names.at(int(kind));
}
}

FaultRunner::FaultRunner(Station& station, int runMs, QObject* parent)
    : QObject(parent), s_(station),
      pauseMs_(std::clamp(runMs / kPauseDivisor, kShortestPauseMs, kLongestPauseMs))
{
    // Every kind once first, in an order of the seed's, so that even a short run has each.
    for (int kind = 0; kind < kKinds; ++kind)
        firstRound_ << Kind(kind);
    std::shuffle(firstRound_.begin(), firstRound_.end(), s_.random);
}

void FaultRunner::Start()
{
    ScheduleNext();
}

void FaultRunner::Finish(std::function<void()> then)
{
    finishing_ = true;
    finished_ = std::move(then);
    if (!busy_)
        QTimer::singleShot(0, this, finished_);
}

void FaultRunner::ScheduleNext()
{
    const Kind kind = firstRound_.isEmpty() ? Kind(s_.random.bounded(kKinds)) : firstRound_.takeFirst();
    After(this, int(s_.random.bounded(pauseMs_, 2 * pauseMs_)), [this, kind] {
        if (finishing_)
            return;
        busy_ = true;
        ++done_[kind];
        s_.report.Note(QStringLiteral("fault: %1").arg(KindName(kind)));
        Run(kind);
    });
}

void FaultRunner::Run(Kind kind)
{
    switch (kind) {
    case Kind::RadioRestart: RestartRadio(); break;
    case Kind::Unplug: UnplugController(); break;
    case Kind::Flood: Flood(); break;
    case Kind::HalfRequest: LeaveMidRequest(); break;
    case Kind::Box: RaiseBox(); break;
    case Kind::SettingsEdit: EditSettings(); break;
    }
}

void FaultRunner::Done()
{
    busy_ = false;
    if (finishing_)
        finished_();
    else
        ScheduleNext();
}

void FaultRunner::Count(const QString& what, bool ok, const QString& detail)
{
    ++(ok ? counts_[what].first : counts_[what].second);
    if (!ok)
        s_.report.Note(QStringLiteral("missed: %1%2").arg(what, detail.isEmpty() ? QString() : ": " + detail));
}

void FaultRunner::RestartRadio()
{
    s_.controller.Stop();
    After(this, kRestBeforeKillMs, [this] {
        AwaitRadioAt(kRadioAtTries, [this](qint64 hz) {
            const qint64 expected = s_.ExpectedVfoA();
            Count(QStringLiteral("radio at the counted VFO A before it went off"), hz == expected,
                  QStringLiteral("radio %1 Hz, counted %2 Hz").arg(hz).arg(expected));
            s_.radio.Kill();
            AwaitProgramFrequency([](std::optional<qint64> f) { return !f; }, kNoticeTries, [this, hz](bool noticed) {
                Count(QStringLiteral("program told loggers the radio is gone"), noticed);
                SwitchRadioOn(hz);
            });
        });
    });
}

// The count is asked afresh each time: the program's trace of the last
// clicks may come after the radio has them.
void FaultRunner::AwaitRadioAt(int triesLeft, std::function<void(qint64)> then)
{
    s_.radio.ReadVfoA([=](qint64 hz) {
        if (hz == s_.ExpectedVfoA() || triesLeft <= 1)
            then(hz);
        else
            After(this, kQueryEveryMs, [=] { AwaitRadioAt(triesLeft - 1, then); });
    });
}

void FaultRunner::AwaitProgramFrequency(std::function<bool(std::optional<qint64>)> wanted, int triesLeft,
                                        std::function<void(bool)> then)
{
    RigctlQuery::Run(this, s_.rigctlPort, {QStringLiteral("f")}, [=](const QString& output) {
        if (wanted(RigctlQuery::Frequency(output)))
            then(true);
        else if (triesLeft <= 1)
            then(false);
        else
            After(this, kQueryEveryMs, [=] { AwaitProgramFrequency(wanted, triesLeft - 1, then); });
    });
}

void FaultRunner::SwitchRadioOn(qint64 vfoAHz)
{
    const bool noisy = s_.radio.TakesNoise() && s_.random.bounded(kNoiseOneIn) == 0;
    const int noise = noisy ? int(s_.random.bounded(1, kNoiseMaxCommands)) : 0;
    if (noise > 0)
        s_.report.Note(QStringLiteral("radio back with line noise after %1 commands").arg(noise));
    s_.radio.Start(vfoAHz, noise, [this, vfoAHz](bool on) {
        Count(QStringLiteral("radio switched on again"), on);
        Await(this, [this] { return s_.radio.Polled(); }, kRecoverTries * kQueryEveryMs, [this, vfoAHz](bool polled) {
            Count(QStringLiteral("program polled the radio again"), polled);
            AwaitProgramFrequency([vfoAHz](std::optional<qint64> f) { return f == vfoAHz; }, kRecoverTries,
                                  [this](bool back) {
                                      Count(QStringLiteral("program told loggers the radio's VFO A again"), back);
                                      s_.controller.Turn();
                                      Done();
                                  });
        });
    });
}

void FaultRunner::UnplugController()
{
    s_.controller.Stop();
    s_.controller.Unplug();
    After(this, int(s_.random.bounded(kUnpluggedMinMs, kUnpluggedMaxMs)), [this] { PlugControllerBack(kPlugTries); });
}

void FaultRunner::PlugControllerBack(int triesLeft)
{
    if (!s_.controller.Plug()) {
        if (triesLeft > 1) {
            After(this, kPlugRetryMs, [this, triesLeft] { PlugControllerBack(triesLeft - 1); });
            return;
        }
        Count(QStringLiteral("controller plugged back"), false, s_.controller.lastError());
        Done();
        return;
    }
    s_.controller.Turn();
    const int before = s_.program.Steps();
    Await(this, [this, before] { return s_.program.Steps() >= before + kStepsToSee; }, kStepsWaitMs,
          [this](bool tuning) {
              Count(QStringLiteral("wheel tuned again after the controller came back"), tuning);
              Done();
          });
}

void FaultRunner::Flood()
{
    s_.nuisance.Flood([this](int answered) {
        Count(QStringLiteral("flood answered in full"), answered == NetworkNuisance::kFloodRequests,
              QStringLiteral("%1 of %2 answered").arg(answered).arg(NetworkNuisance::kFloodRequests));
        AwaitProgramFrequency([](std::optional<qint64> f) { return f.has_value(); }, kNoticeTries, [this](bool ok) {
            Count(QStringLiteral("program answered a logger after a flood"), ok);
            Done();
        });
    });
}

void FaultRunner::LeaveMidRequest()
{
    s_.nuisance.LeaveMidRequest([this] { After(this, kAfterHalfRequestMs, [this] { Done(); }); });
}

void FaultRunner::RaiseBox()
{
    s_.controller.SendUnmapped();
    Await(this, [this] { return !s_.boxes.Look().isEmpty(); }, kBoxWaitMs, [this](bool shown) {
        Count(QStringLiteral("box shown for a message without a map entry (or one open already)"), shown);
        const int before = s_.program.Steps();
        Await(this, [this, before] { return s_.program.Steps() >= before + kStepsToSee; }, kStepsWaitMs,
              [this, shown](bool tuning) {
                  const bool stillOpen = !s_.boxes.Look().isEmpty();
                  if (shown)
                      Count(QStringLiteral("wheel tuned while a box was open"), tuning && stillOpen);
                  // Now and then the operator comes back and answers the boxes.
                  if (s_.random.bounded(2) == 0)
                      s_.boxes.CloseAll();
                  Done();
              });
    });
}

void FaultRunner::EditSettings()
{
    Count(QStringLiteral("settings file edited by hand"), s_.settings.EditByHand(done_.value(Kind::SettingsEdit)));
    Done();
}

void FaultRunner::Report() const
{
    QStringList kinds;
    for (int kind = 0; kind < kKinds; ++kind)
        kinds << QStringLiteral("%1 %2").arg(done_.value(Kind(kind))).arg(KindName(Kind(kind)));
    s_.report.Figure(QStringLiteral("faults: ") + kinds.join(QStringLiteral(", ")));
    for (auto it = counts_.begin(); it != counts_.end(); ++it) {
        const auto [ok, missed] = it.value();
        s_.report.Check(missed == 0, QStringLiteral("%1 (%2 of %3)").arg(it.key()).arg(ok).arg(ok + missed),
                        QStringLiteral("missed %1 times").arg(missed));
    }
}
