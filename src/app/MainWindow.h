#pragma once

#include "core/OptionsStore.h"
#include "core/RigType.h"
#include "desktop/DesktopPlatform.h"
#include "widgets/Lamp.h"

#include <QAction>
#include <QMainWindow>

#include <array>
#include <functional>
#include <map>
#include <memory>

class IAlerts;
class ISettingsStore;
class LogView;
class MidiSetupWindow;
struct ProgramParts;

// The main window: both traffic logs, both lamps and the menus. It builds the
// program's parts (CAT link and poll, MIDI input, dispatch, key maps and
// their editors, updater), wires them to its controls and runs the start-up
// and shutdown steps. UI thread only.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The menu items other than the COM ports and the rig types.
    enum class Command {
        NoPort, Devices, Autoconnect, PollInterval, MidiInterval, RigControl, ViewReadme, Update, About
    };

    MainWindow(ISettingsStore& store, IAlerts& alerts, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up steps: stored position, port, options, key maps, the poll,
    // the automatic MIDI connection.
    void Start();
    // True once the window has closed and the program ends.
    bool HasEnded() const { return ended_; }

    // The readme beside the executable or in the installed documentation.
    static QString ReadmePath();
    // Opens a text file in the desktop's viewer; tests replace it.
    std::function<bool(const QString& path)> openDocument = DesktopPlatform::OpenTextFile;

    // What a user does and sees: a menu item chosen, whether it is checked,
    // the buttons "&Midi Setup" and "E&xit", the two logs and the two lamps.
    void Choose(Command command) { items_.at(command)->trigger(); }
    void ChooseComPort(int number);
    void ChooseRigType(RigType rig);
    bool IsChecked(Command command) const { return items_.at(command)->isChecked(); }
    bool IsComPortChecked(int number) const { return comItems_.at(number - 1)->isChecked(); }
    bool IsRigTypeChecked(RigType rig) const { return rigItems_.at(rig)->isChecked(); }
    MidiSetupWindow* PressMidiSetup();
    void PressExit();
    LogView& MidiLog() const { return *midiLog_; }
    LogView& CatLog() const { return *catLog_; }
    bool MidiLampUp() const { return midiLamp_->isUp(); }
    bool CatLampUp() const { return catLamp_->isUp(); }

signals:
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    QAction* AddItem(QMenu& menu, const QString& name, const QString& caption, bool checkable,
                     std::function<void()> chosen);
    void StartStep(const std::function<void()>& body);
    void LoadOptions();
    void PlaceAtStoredPosition();
    void SelectStoredPort();
    int IntervalOrDefault(OptionsStore::Option option, const QString& defaultValue);

    // Stores, marks and opens COM `number`.
    void OpenComPort(int number);
    void ChooseNoPort();
    void SetPortChecks(int number);
    void SetRigChecks(const QString& rigType);
    void ShowDevices();
    void ToggleAutoconnect();
    void AskPollInterval();
    void AskMidiInterval();
    void ViewReadme();
    void CheckForUpdate();
    void ShowAbout();
    MidiSetupWindow& SetupWindow();
    void ShowMidiSetup();

    void StorePosition();
    void UnloadOtherWindows();
    void Shutdown();

    ISettingsStore& store_;
    IAlerts& alerts_;
    LogView* midiLog_ = nullptr;
    LogView* catLog_ = nullptr;
    Lamp* midiLamp_ = nullptr;
    Lamp* catLamp_ = nullptr;
    std::map<Command, QAction*> items_;
    std::array<QAction*, 16> comItems_{};
    std::map<RigType, QAction*> rigItems_;
    std::unique_ptr<ProgramParts> parts_;
    bool placed_ = false;
    bool ended_ = false;
};
