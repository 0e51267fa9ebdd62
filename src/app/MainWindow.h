#pragma once

#include "app/MainMenus.h"
#include "widgets/Lamp.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class IAlerts;
class ISettingsStore;
class LogView;
class MidiSetupWindow;
struct ProgramParts;

// The main window: both traffic logs, both lamps, the menus and the buttons.
// It builds the program's parts, wires them to its controls and runs the
// start-up and shutdown steps. UI thread only.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(ISettingsStore& store, IAlerts& alerts, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up steps: stored position, port, options, key maps, the poll,
    // the automatic MIDI connection.
    void Start();
    // True once the window has closed and the program ends.
    bool HasEnded() const { return ended_; }

    // What a user does and sees: the menus, the buttons "&Midi Setup" and
    // "E&xit", the two logs and the two lamps.
    MainMenus& Menus() const { return *menus_; }
    MidiSetupWindow* PressMidiSetup();
    void PressExit();
    LogView& MidiLog() const { return *midiLog_; }
    LogView& CatLog() const { return *catLog_; }
    bool MidiLampUp() const { return midiLamp_->isConnected(); }
    bool CatLampUp() const { return catLamp_->isConnected(); }

signals:
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void WireLamps();
    void StartStep(const std::function<void()>& body);
    void PlaceAtStoredPosition();
    void ConnectMidiAutomatically();
    void ShowMidiSetup();
    void StorePosition();
    void Shutdown();

    ISettingsStore& store_;
    IAlerts& alerts_;
    LogView* midiLog_ = nullptr;
    LogView* catLog_ = nullptr;
    Lamp* midiLamp_ = nullptr;
    Lamp* catLamp_ = nullptr;
    std::unique_ptr<ProgramParts> parts_;
    MainMenus* menus_ = nullptr;
    bool placed_ = false;
    bool ended_ = false;
};
