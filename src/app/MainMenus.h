#pragma once

#include "core/Options.h"
#include "core/RigType.h"
#include "desktop/DesktopPlatform.h"

#include <QAction>
#include <QObject>

#include <array>
#include <functional>
#include <map>

class IAlerts;
class ISettingsStore;
class QMenu;
class QMenuBar;
class QWidget;
struct ProgramParts;

// The main window's menus ("CAT Port", "Rig Type", "Options", "Help"), their
// check marks and the commands behind their items, each carried out on the
// program's parts and reporting its own failure. UI thread only.
class MainMenus : public QObject {
    Q_OBJECT
public:
    // The items other than the COM ports and the rig types.
    enum class Command {
        NoPort, Devices, Autoconnect, PollInterval, MidiInterval, RigControl, ViewReadme, Update, About
    };

    // `window` is the parent of the windows the items open; `endProgram`
    // ends the program (after the updater has started an installer).
    MainMenus(QMenuBar& bar, QWidget& window, ProgramParts& parts, ISettingsStore& store, IAlerts& alerts,
              std::function<void()> endProgram);

    // Start-up: the stored COM port is chosen as its menu item chooses it.
    void SelectStoredPort();
    // The check mark of COM `number`, of "None" for 0.
    void ShowPort(int number);
    // The check marks of the options as loaded.
    void ShowOptions();

    // Opens a text file in the desktop's viewer; tests replace it.
    std::function<bool(const QString& path)> openDocument = DesktopPlatform::OpenTextFile;
    // The readme beside the executable or in the installed documentation.
    static QString ReadmePath();

    // What a user does and sees: an item chosen, whether it is checked.
    void Choose(Command command) { items_.at(command)->trigger(); }
    void ChooseComPort(int number);
    void ChooseRigType(RigType rig);
    bool IsChecked(Command command) const { return items_.at(command)->isChecked(); }
    bool IsComPortChecked(int number) const { return comItems_.at(number - 1)->isChecked(); }
    bool IsRigTypeChecked(RigType rig) const { return rigItems_.at(rig)->isChecked(); }
    QAction& Item(Command command) const { return *items_.at(command); }

private:
    QAction* AddItem(QMenu& menu, const QString& name, const QString& caption, bool checkable,
                     std::function<void()> chosen);
    void BuildPortMenu(QMenuBar& bar);
    void BuildRigMenu(QMenuBar& bar);
    void BuildOptionsMenu(QMenuBar& bar);
    void BuildHelpMenu(QMenuBar& bar);

    void OpenComPort(int number);
    void ChooseNoPort();
    void SetRigChecks(const QString& rigType);
    void ShowDevices();
    void ToggleAutoconnect();
    void AskPollInterval();
    void AskMidiInterval();
    void ViewReadme();
    void CheckForUpdate();
    void ShowAbout();

    QWidget& window_;
    ProgramParts& parts_;
    ISettingsStore& store_;
    IAlerts& alerts_;
    std::function<void()> endProgram_;
    std::map<Command, QAction*> items_;
    std::array<QAction*, Options::kComPorts> comItems_{};
    std::map<RigType, QAction*> rigItems_;
};
