#include "app/NetworkRigControl.h"

#include "core/IAlerts.h"
#include "core/OptionsStore.h"
#include "core/FailureReport.h"
#include "rigctl/RigctlServer.h"

#include <QAction>
#include <QHostAddress>

namespace {
using Key = Options::Key;
const QString kTitle = QStringLiteral("Network Rig Control");
}

NetworkRigControl::NetworkRigControl(OptionsStore& settings, RigctlServer& server, IAlerts& alerts)
    : settings_(settings), server_(server), alerts_(alerts)
{
}

void NetworkRigControl::Load(QAction& item)
{
    settings_.Load(Key::RigctlOn);
    settings_.Load(Key::RigctlPort);
    settings_.Load(Key::RigctlAddress);
    const Options& options = settings_.options();
    item.setText(QStringLiteral("&Network Rig Control (rigctld on %1:%2)")
                     .arg(options.Text(Key::RigctlAddress).trimmed(), options.Text(Key::RigctlPort).trimmed()));
    item.setChecked(options.RigctlOn());
    StartOrStop(item);
    // Written back last: a store that cannot be written keeps no server off.
    settings_.Store(Key::RigctlOn);
    settings_.Store(Key::RigctlPort);
}

void NetworkRigControl::Toggle(QAction& item)
{
    const QString choice = item.isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    ReportFailures(alerts_, Routine::ToggleRigControl,
               [&] { settings_.Set(Key::RigctlOn, choice); });
    StartOrStop(item);
}

void NetworkRigControl::StartOrStop(QAction& item)
{
    if (!settings_.options().RigctlOn()) {
        server_.Stop();
        return;
    }
    const Options& options = settings_.options();
    bool isNumber = false;
    const uint port = options.Text(Key::RigctlPort).trimmed().toUInt(&isNumber);
    QHostAddress address;
    if (!isNumber || port < 1 || port > 65535) {
        Tell(QStringLiteral("The port \"%1\" (setting %2) is not a port number from 1 to "
                          "65535, so the rig control server stays off.")
               .arg(options.Text(Key::RigctlPort), Options::Name(Key::RigctlPort)));
    } else if (!address.setAddress(options.Text(Key::RigctlAddress).trimmed())) {
        Tell(QStringLiteral("The address \"%1\" (setting %2) is not an IP address, so "
                          "the rig control server stays off.")
               .arg(options.Text(Key::RigctlAddress), Options::Name(Key::RigctlAddress)));
    } else if (!server_.Start(address, quint16(port))) {
        Tell(QStringLiteral("The rig control server cannot listen on %1 port %2: %3")
               .arg(address.toString())
               .arg(port)
               .arg(server_.errorString()));
    } else {
        return;
    }
    item.setChecked(false);
}

void NetworkRigControl::Tell(const QString& text)
{
    alerts_.Tell(text, IAlerts::Icon::Information, kTitle);
}
