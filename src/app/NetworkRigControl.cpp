#include "app/NetworkRigControl.h"

#include "core/IAlerts.h"
#include "core/OptionsStore.h"
#include "core/FailureReport.h"
#include "rigctl/RigctlServer.h"

#include <QAction>
#include <QHostAddress>

namespace {
using Option = OptionsStore::Option;
const QString kTitle = QStringLiteral("Network Rig Control");
}

NetworkRigControl::NetworkRigControl(OptionsStore& settings, RigctlServer& server, IAlerts& alerts)
    : settings_(settings), server_(server), alerts_(alerts)
{
}

void NetworkRigControl::Load(QAction& item)
{
    settings_.Load(Option::RigctlOn);
    settings_.Load(Option::RigctlPort);
    settings_.Load(Option::RigctlAddress);
    const Options& options = settings_.options();
    item.setText(QStringLiteral("&Network Rig Control (rigctld on %1:%2)")
                     .arg(options.rigctlAddress.trimmed(), options.rigctlPort.trimmed()));
    item.setChecked(IsOn());
    StartOrStop(item);
    // Written back last: a store that cannot be written keeps no server off.
    settings_.Store(Option::RigctlOn);
    settings_.Store(Option::RigctlPort);
}

void NetworkRigControl::Toggle(QAction& item)
{
    const QString choice = item.isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    ReportFailures(alerts_, Routine::ToggleRigControl,
               [&] { settings_.Set(Option::RigctlOn, choice); });
    StartOrStop(item);
}

bool NetworkRigControl::IsOn() const
{
    return settings_.Value(Option::RigctlOn).trimmed() == QLatin1String("1");
}

void NetworkRigControl::StartOrStop(QAction& item)
{
    if (!IsOn()) {
        server_.Stop();
        return;
    }
    const Options& options = settings_.options();
    bool isNumber = false;
    const uint port = options.rigctlPort.trimmed().toUInt(&isNumber);
    QHostAddress address;
    if (!isNumber || port < 1 || port > 65535) {
        Tell(QStringLiteral("The port \"%1\" (setting rigctldport) is not a port number from 1 to "
                            "65535, so the rig control server stays off.")
                 .arg(options.rigctlPort));
    } else if (!address.setAddress(options.rigctlAddress.trimmed())) {
        Tell(QStringLiteral("The address \"%1\" (setting rigctldaddress) is not an IP address, so "
                            "the rig control server stays off.")
                 .arg(options.rigctlAddress));
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
    alerts_.MsgBox(text, IAlerts::Buttons::Ok, IAlerts::Icon::Information, kTitle);
}
