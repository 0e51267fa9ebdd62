#pragma once

#include "core/OptionsStore.h"

#include <QDesktopServices>
#include <QMainWindow>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>

class IAlerts;
class ISettingsStore;
class frmConfig_Midi;
struct ProgramParts;
class IndicatorShape;
class LogView;
class QAction;
class QLabel;
class QPushButton;

// The main window: both traffic logs, both lamps and the menus. It builds the
// program's parts (CAT link and poll, MIDI input, translation, key maps and
// their editors, updater), wires them to its controls and runs the start-up
// and shutdown steps. UI thread only.
class frmVornMidiConnector : public QMainWindow {
    Q_OBJECT
public:
    frmVornMidiConnector(ISettingsStore& store, IAlerts& alerts, QWidget* parent = nullptr);
    ~frmVornMidiConnector() override;

    void Form_Load();
    // True once the window has closed and the program ends.
    bool HasEnded() const { return ended_; }

    // The readme beside the executable or in the installed documentation.
    static QString ReadmePath();
    // Opens a text file in the desktop's viewer; tests replace it.
    std::function<bool(const QString& path)> openDocument = [](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };

    LogView* txtMidiInDump = nullptr;
    LogView* txtCATDump = nullptr;
    IndicatorShape* shpMidiEnabled = nullptr;
    IndicatorShape* shpCATConnected = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblMidiEnabled = nullptr;
    QLabel* lblCATConnected = nullptr;
    QPushButton* cmdConfigMidi = nullptr;
    QPushButton* cmdExit = nullptr;

    QAction* mnuPortsNone = nullptr;
    std::array<QAction*, 16> mnuPortsCom{};
    QAction* mnuDevices = nullptr;
    QAction* mnuElecraft = nullptr;
    QAction* mnuFlex = nullptr;
    QAction* mnuMautoconnect = nullptr;
    QAction* mnuPollTimer = nullptr;
    QAction* mnuMIDITmr = nullptr;
    QAction* mnuRigControl = nullptr;
    QAction* mnuViewReadme = nullptr;
    QAction* mnuUpdate = nullptr;
    QAction* mnuHelpAbout = nullptr;

signals:
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    frmConfig_Midi& SetupWindow();

    void BuildControls();
    void BuildMenus();
    void WireParts();
    void PlaceAtStoredPosition();
    void SelectStoredPort();
    int IntervalOrDefault(OptionsStore::Option option, const QString& defaultValue);

    // Stores, marks and opens COM `number`; mnuPortsCom_Click also starts the poll.
    void ChoosePort(int number);
    void mnuPortsCom_Click(int number);
    void mnuPortsNone_Click();
    void SetPortChecks(int number);
    // "&Elecraft" and "&Flex".
    void ChooseRigType(const QString& rigtype, const QString& routine);
    void SetRigChecks(const QString& rigtype);
    void mnuMautoconnect_Click();
    void mnuPollTimer_Click();
    void mnuMIDITmr_Click();
    void mnuViewReadme_click();
    void mnuUpdate_Click();
    void mnuHelpAbout_Click();
    void mnuDevices_Click();
    void cmdConfig_Midi_click();
    void cmdExit_Click();

    void ShowMidiSetup();
    void StorePosition();
    void UnloadOtherWindows();
    void Shutdown();

    ISettingsStore& store_;
    IAlerts& alerts_;
    std::unique_ptr<ProgramParts> parts_;
    bool placed_ = false;
    bool ended_ = false;
};
