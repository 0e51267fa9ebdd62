#pragma once

#include "BoxWatch.h"
#include "FaultRunner.h"
#include "LoggerClient.h"
#include "NetworkNuisance.h"
#include "ProgramUnderTest.h"
#include "ResourceSampler.h"
#include "SettingsFile.h"
#include "SoakOptions.h"
#include "SoakReport.h"
#include "StationRadio.h"
#include "SurfaceController.h"

#include <QObject>
#include <QRandomGenerator>
#include <memory>
#include <vector>

// One soak from start to verdict: the station set up (radio, controller,
// program, loggers), the faults for the run's length, the wheel stopped and
// the line let settle, then the checks, and E&xit.
class SoakRun : public QObject {
    Q_OBJECT
public:
    explicit SoakRun(const SoakOptions& options, QObject* parent = nullptr);
    ~SoakRun() override;

    void Start();

signals:
    // The run is over; `passed` when every check passed.
    void finished(bool passed);

private:
    QStringList Settings() const;
    void StartProgram();
    void AwaitFirstAnswer();
    void RunFaults();
    void Wind();
    void Settle(int triesLeft, qint64 lastHz);
    void CheckCount(qint64 radioHz);
    void CheckLoggerAnswer();
    void CheckExit();
    void Exit();
    void CheckTheRest();
    void ReportResources();
    QString RunTitle() const;
    void Abort(const QString& why);

    SoakOptions options_;
    // One generator each for the faults, the hand on the controller and the
    // loggers, so that a seed gives the same faults in the same order however
    // the timing of the others goes.
    QRandomGenerator random_;
    QRandomGenerator handRandom_;
    QRandomGenerator loggerRandom_;
    SoakReport report_;
    quint16 rigctlPort_;
    SettingsFile settings_;
    std::unique_ptr<StationRadio> radio_;
    SurfaceController controller_;
    ProgramUnderTest program_;
    BoxWatch boxes_;
    NetworkNuisance nuisance_;
    ResourceSampler sampler_;
    std::vector<std::unique_ptr<LoggerClient>> loggers_;
    Station station_;
    FaultRunner faults_;
    int openBoxesAtEnd_ = 0;
    int boxesAnsweredInRun_ = 0;
};
