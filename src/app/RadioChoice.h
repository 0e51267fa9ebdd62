#pragma once

#include "app/ChosenRadio.h"
#include "cat/CatLink.h"
#include "core/RigType.h"
#include "hamlib/HamlibConfig.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class CatPoll;
class CatRadio;
class HamlibLink;
class HamlibRadio;
class IAlerts;
class ILogSink;
class OptionsStore;
class QWidget;

// Which road the radio is on: the program's own CAT link (a COM port and its
// poll) for the Elecraft and Flex rig types, Hamlib for the Hamlib rig type.
// Only one of them holds the radio: with Hamlib the COM port stays closed (and
// stays chosen, so it opens again when an Elecraft or Flex is chosen). The
// Hamlib side (its library loaded, its thread) is built when first used.
// UI thread only.
class RadioChoice : public QObject {
    Q_OBJECT
public:
    using PortMarks = CatLink::PortMarks;

    // `marks` shows the COM port chosen in the port menu.
    RadioChoice(OptionsStore& settings, CatLink& link, CatPoll& poll, CatRadio& catRadio, ILogSink& catLog,
                IAlerts& alerts, PortMarks marks, QObject* parent = nullptr);
    ~RadioChoice() override;

    // The radio the dispatcher and the network clients drive.
    ChosenRadio& chosen() { return *radio_; }

    // Start-up, once the stored COM port is chosen (SelectComPort): the box
    // "Please select a CAT Com port first." asks for the port of the radio in
    // use; then that radio's poll starts (a stored Hamlib radio with an
    // unknown model or a value that cannot be read is one box instead, and
    // nothing is written).
    void AskForMissingPort();
    void StartPoll();
    void SetPollInterval(int milliseconds);
    void StopPoll();

    // The port menu: the choice is stored; a COM port is opened only while
    // the program's own CAT link holds the radio. Failures are thrown.
    void SelectComPort(int number);
    void SelectNoPort();
    // After a COM port is chosen: its poll starts unless Hamlib holds the radio.
    void PollOwnLink();

    // The rig type menu. The Hamlib item opens the window that chooses the
    // radio (window-modal, nothing waits for it); the rig type changes once
    // it is accepted. Failures are thrown.
    void SelectRigType(RigType rig, QWidget& windowParent);

signals:
    // The stored rig type has changed (the menu's marks follow it).
    void rigTypeChanged();

private:
    bool HamlibStored() const;
    // Takes the stored Hamlib radio into the live options.
    void LoadHamlibRadio();
    void TakeHamlibChoice(const HamlibConfig& config);
    void UseHamlib();
    void UseOwnLink();
    void BuildHamlibSide();
    // The Hamlib radio as stored; empty with `why` set when it cannot be used.
    std::optional<HamlibConfig> StoredHamlibRadio(QString& why) const;

    OptionsStore& settings_;
    CatLink& link_;
    CatPoll& poll_;
    CatRadio& catRadio_;
    ILogSink& catLog_;
    IAlerts& alerts_;
    PortMarks marks_;
    ChosenRadio* radio_;
    std::unique_ptr<HamlibLink> hamlibLink_;
    std::unique_ptr<HamlibRadio> hamlibRadio_;
    std::optional<HamlibConfig> hamlibConfig_;
};
