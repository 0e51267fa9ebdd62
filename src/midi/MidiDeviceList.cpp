#include "midi/MidiDeviceList.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

MidiDeviceList::MidiDeviceList(RtMidi::Api api, Direction direction) : api_(api), direction_(direction)
{
}

MidiDeviceList::~MidiDeviceList() = default;

RtMidi::Api MidiDeviceList::ChooseBackend()
{
    std::vector<RtMidi::Api> compiled;
    RtMidi::getCompiledApi(compiled);
    const auto has = [&](RtMidi::Api api) { return std::find(compiled.begin(), compiled.end(), api) != compiled.end(); };
    if (!has(RtMidi::LINUX_ALSA))
        return has(RtMidi::UNIX_JACK) ? RtMidi::UNIX_JACK : RtMidi::UNSPECIFIED;
    const QByteArray forced = qgetenv("VMC_MIDI_API").toLower();
    if (forced == "jack")
        return RtMidi::UNIX_JACK;
    if (forced == "alsa")
        return RtMidi::LINUX_ALSA;
    return QFileInfo::exists(QStringLiteral("/dev/snd/seq")) ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
}

QString MidiDeviceList::NameOf(const std::string& portName, RtMidi::Api api)
{
    const QString name = QString::fromStdString(portName);
    if (api != RtMidi::WINDOWS_MM)
        return name.section(QLatin1Char(':'), 0, 0).left(kNameLength);
    // RtMidi makes WinMM's names unique by a blank and the port's index.
    static const QRegularExpression index(QStringLiteral(" \\d+$"));
    return QString(name).remove(index).left(kNameLength);
}

std::string MidiDeviceList::Identity(const std::string& portName, RtMidi::Api api)
{
    return api == RtMidi::WINDOWS_MM ? NameOf(portName, api).toStdString() : portName;
}

bool MidiDeviceList::IsDevice(const std::string& portName) const
{
    // JACK numbers a second client of the same name ("Vorn-MIDI Connector-01").
    const QString name = NameOf(portName, api_);
    return !portName.empty() && name != QLatin1String("Midi Through") &&
           !name.startsWith(QLatin1String(kClientName));
}

std::vector<std::string> MidiDeviceList::AllPortNames()
{
    std::vector<std::string> names;
    try {
        if (!lister_) {
            if (direction_ == Direction::Input)
                lister_ = std::make_shared<RtMidiIn>(api_, kClientName);
            else
                lister_ = std::make_shared<RtMidiOut>(api_, kClientName);
            lister_->setErrorCallback([](RtMidiError::Type, const std::string&, void*) {});
        }
        const unsigned count = lister_->getPortCount();
        for (unsigned i = 0; i < count; ++i)
            names.push_back(lister_->getPortName(i));
    } catch (const std::exception&) {
        names.clear();
    }
    return names;
}

QList<MidiDevice> MidiDeviceList::Refresh()
{
    portNames_ = AllPortNames();
    QList<MidiDevice> devices;
    for (std::size_t i = 0; i < portNames_.size(); ++i) {
        if (IsDevice(portNames_[i]))
            devices.append({NameOf(portNames_[i], api_), static_cast<int>(i)});
    }
    return devices;
}

std::vector<std::string> MidiDeviceList::LookAtPortNames()
{
    std::vector<std::string> names = AllPortNames();
    names.erase(std::remove_if(names.begin(), names.end(),
                               [this](const std::string& name) { return !IsDevice(name); }),
                names.end());
    return names;
}

std::string MidiDeviceList::PortName(int number) const
{
    if (number < 0 || static_cast<std::size_t>(number) >= portNames_.size())
        return {};
    return portNames_[static_cast<std::size_t>(number)];
}
