#include "midi/MidiDeviceList.h"
#include "vsurface/JackSurfacePorts.h"
#include "vsurface/MidiSurfacePorts.h"
#include "vsurface/SurfaceWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <memory>

// Stands in for the hardware control surface: run it, then let the Vorn-MIDI
// Connector connect to the MIDI input device "Vorn-MIDI" (and send its lights
// to the output of that name). It picks the MIDI system by the connector's
// own rule, so both always meet on the same one.
//   vmc-vsurface [--imitate surface|jog|encoder]
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vmc-vsurface"));
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("imitate"),
                      QStringLiteral("What to send as: the surface (default), a two's-complement jog on channel 2 "
                                     "with note buttons, or a sign-and-magnitude encoder."),
                      QStringLiteral("surface|jog|encoder"), QStringLiteral("surface")});
    parser.process(app);
    const QStringList imitations = {QStringLiteral("surface"), QStringLiteral("jog"), QStringLiteral("encoder")};
    const Imitation imitation = static_cast<Imitation>(std::max(0, int(imitations.indexOf(parser.value("imitate")))));

    const QString deviceName = QStringLiteral("Vorn-MIDI");
    std::unique_ptr<ISurfacePorts> port;
    QString status;
    try {
        const RtMidi::Api api = MidiDeviceList::ChooseBackend();
        if (api == RtMidi::UNIX_JACK)
            port = std::make_unique<JackSurfacePorts>(deviceName);
        else
            port = std::make_unique<MidiSurfacePorts>(api, deviceName);
        status = QStringLiteral("Sending as MIDI device \"%1\" on %2.\nChoose it as the MIDI "
                                "input device of Vorn-MIDI Connector.")
                     .arg(deviceName, MidiSurfacePorts::ApiName(api));
    } catch (const MidiSurfacePorts::Error& e) {
        status = QString::fromLocal8Bit(e.what())
                 + QStringLiteral("\nMessages are only shown below, not sent.");
        qWarning("%s", e.what());
    }

    SurfaceWindow window(port.get(), status, imitation);
    window.show();
    return app.exec();
}
