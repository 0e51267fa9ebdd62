#include "core/KeyMap.h"

#include "core/NumberedError.h"

namespace {
using Id = SurfaceControls::Id;

QString Hex2(std::uint8_t byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
}

KeyMap::KeyDef Wheel(Id wheel, bool up, int speed, const char* elecraft, const char* flex)
{
    return {KeyMap::WheelSuffix(wheel, speed, up),
            QStringLiteral("%1 Wheel A %2 speed %3")
                .arg(wheel == Id::WheelHome ? QStringLiteral("Home") : QStringLiteral("Mode 1"),
                     up ? QStringLiteral("Up") : QStringLiteral("Dn"))
                .arg(speed),
            QLatin1String(elecraft), QLatin1String(flex), QLatin1String(flex)};
}

// A Hamlib radio's button does the Flex button's job, in rigctl's words.
KeyMap::KeyDef Button(int number, bool longPress, const char* elecraft, const char* flex, const char* hamlib)
{
    return {KeyMap::ButtonSuffix(number, longPress), SurfaceControls::Get(SurfaceControls::Button(number, longPress)).name,
            QLatin1String(elecraft), QLatin1String(flex), QLatin1String(hamlib)};
}

KeyMap::KeyDef Slider(const QString& suffix, const char* label, const char* flex)
{
    return {suffix, QLatin1String(label), QString(), QLatin1String(flex), QLatin1String(flex)};
}

constexpr bool kUp = true, kDn = false, kShort = false, kLong = true;
} // namespace

const QList<KeyMap::KeyDef>& KeyMap::Suffixes()
{
    static const QList<KeyDef> suffixes = {
        Wheel(Id::WheelHome, kUp, 1, "UP1;", "#UP10"),     Wheel(Id::WheelHome, kUp, 2, "UP2;", "#UP20"),
        Wheel(Id::WheelHome, kUp, 3, "UP3;", "#UP50"),     Wheel(Id::WheelHome, kUp, 4, "UP8;", "#UP100"),
        Wheel(Id::WheelHome, kUp, 5, "UP9;", "#UP200"),    Wheel(Id::WheelHome, kUp, 6, "UP4;", "#UP1000"),
        Wheel(Id::WheelHome, kUp, 7, "UP5;", "#UP2000"),   Wheel(Id::WheelHome, kUp, 8, "UP6;", "#UP2000"),
        Wheel(Id::WheelHome, kUp, 9, "UP7;", "#UP3000"),   Wheel(Id::WheelHome, kUp, 10, "UP7;", "#UP3000"),
        Wheel(Id::WheelHome, kUp, 11, "UP7;", "#UP5000"),  Wheel(Id::WheelHome, kUp, 12, "UP7;", "#UP5000"),
        Wheel(Id::WheelHome, kDn, 1, "DN1;", "#DN10"),     Wheel(Id::WheelHome, kDn, 2, "DN2;", "#DN20"),
        Wheel(Id::WheelHome, kDn, 3, "DN3;", "#DN50"),     Wheel(Id::WheelHome, kDn, 4, "DN8;", "#DN100"),
        Wheel(Id::WheelHome, kDn, 5, "DN9;", "#DN200"),    Wheel(Id::WheelHome, kDn, 6, "DN4;", "#DN1000"),
        Wheel(Id::WheelHome, kDn, 7, "DN5;", "#DN2000"),   Wheel(Id::WheelHome, kDn, 8, "DN6;", "#DN2000"),
        Wheel(Id::WheelHome, kDn, 9, "DN7;", "#DN3000"),   Wheel(Id::WheelHome, kDn, 10, "DN7;", "#DN3000"),
        Wheel(Id::WheelHome, kDn, 11, "DN7;", "#DN5000"),  Wheel(Id::WheelHome, kDn, 12, "DN7;", "#DN5000"),
        Slider(PowerSliderSuffix(), "Mode 2 Slider B", "#TXPWR"), Slider(SpeedSliderSuffix(), "Mode 3 Slider B", "#CWSPD"),
        Button(1, kShort, "SWT10;", "FT1;", "S 1 VFOB"), Button(2, kShort, "SWT18;", "RT1;", "U RIT 1"),
        Button(3, kShort, "SWT11;", "RC;", "J 0"),       Button(4, kShort, "SWT13;", "#A/B", "#A/B"),
        Button(5, kShort, "SWH13;", "NB1;", "U NB 1"),   Button(6, kShort, "SWT25;", "#MUP", "#MUP"),
        Button(1, kLong, "SWT33;", "FT0;", "S 0 VFOA"),  Button(2, kLong, "SWT34;", "RT0;", "U RIT 0"),
        Button(3, kLong, "", "", ""),                    Button(4, kLong, "", "#A>B", "#A>B"),
        Button(5, kLong, "", "NB0;", "U NB 0"),          Button(6, kLong, "", "", ""),
        Wheel(Id::WheelMode1, kDn, 12, "#DN5000", "#DN5000"), Wheel(Id::WheelMode1, kDn, 11, "#DN5000", "#DN5000"),
        Wheel(Id::WheelMode1, kDn, 10, "#DN3000", "#DN3000"), Wheel(Id::WheelMode1, kDn, 9, "#DN3000", "#DN3000"),
        Wheel(Id::WheelMode1, kDn, 8, "#DN2000", "#DN2000"),  Wheel(Id::WheelMode1, kDn, 7, "#DN2000", "#DN2000"),
        Wheel(Id::WheelMode1, kDn, 6, "#DN1000", "#DN1000"),  Wheel(Id::WheelMode1, kDn, 5, "#DN200", "#DN200"),
        Wheel(Id::WheelMode1, kDn, 4, "#DN100", "#DN100"),    Wheel(Id::WheelMode1, kDn, 3, "#DN50", "#DN50"),
        Wheel(Id::WheelMode1, kDn, 2, "#DN20", "#DN20"),      Wheel(Id::WheelMode1, kDn, 1, "#DN10", "#DN10"),
        Wheel(Id::WheelMode1, kUp, 1, "#UP10", "#UP10"),      Wheel(Id::WheelMode1, kUp, 2, "#UP20", "#UP20"),
        Wheel(Id::WheelMode1, kUp, 3, "#UP50", "#UP50"),      Wheel(Id::WheelMode1, kUp, 4, "#UP100", "#UP100"),
        Wheel(Id::WheelMode1, kUp, 5, "#UP200", "#UP200"),    Wheel(Id::WheelMode1, kUp, 6, "#UP1000", "#UP1000"),
        Wheel(Id::WheelMode1, kUp, 7, "#UP2000", "#UP2000"),  Wheel(Id::WheelMode1, kUp, 8, "#UP2000", "#UP2000"),
        Wheel(Id::WheelMode1, kUp, 9, "#UP3000", "#UP3000"),  Wheel(Id::WheelMode1, kUp, 10, "#UP3000", "#UP3000"),
        Wheel(Id::WheelMode1, kUp, 11, "#UP5000", "#UP5000"), Wheel(Id::WheelMode1, kUp, 12, "#UP5000", "#UP5000"),
    };
    return suffixes;
}

QString KeyMap::LabelOf(const QString& suffix)
{
    for (const KeyDef& def : Suffixes()) {
        if (def.suffix.compare(suffix, Qt::CaseInsensitive) == 0)
            return def.label;
    }
    return QString();
}

const QString& KeyMap::KeyDef::DefaultFor(RigType rig) const
{
    switch (rig) {
    case RigType::Elecraft:
        return elecraftDefault;
    case RigType::Flex:
        return flexDefault;
    default:
        return hamlibDefault;
    }
}

QString KeyMap::WheelSuffix(SurfaceControls::Id wheel, int speed, bool up)
{
    return Hex2(SurfaceControls::Byte(wheel)) + Hex2(SurfaceControls::WheelValue(speed, up));
}

QString KeyMap::ButtonSuffix(int number, bool longPress)
{
    return Hex2(SurfaceControls::Byte(SurfaceControls::Button(number, longPress))) + Hex2(SurfaceControls::kPressed);
}

QString KeyMap::Name(RigType rig, const QString& suffix)
{
    return RigTypes::Of(rig).keyLetter + suffix;
}

const QStringList& KeyMap::Names()
{
    static const QStringList names = [] {
        QStringList out;
        for (const RigTypes::Info& rig : RigTypes::All())
            for (const KeyDef& def : Suffixes())
                out << Name(rig.type, def.suffix);
        return out;
    }();
    return names;
}

KeyMap::KeyMap()
{
    entries_.reserve(kEntryCount);
    for (const QString& name : Names())
        entries_.insert(name, QString());
}

QString KeyMap::Read(const QString& name) const
{
    const auto it = entries_.constFind(name.toLower());
    if (it == entries_.constEnd())
        throw NumberedError::ObjectNotFound(name);
    return it.value();
}

void KeyMap::Write(const QString& name, const QString& text)
{
    EntryOf(name) = text;
}

QString& KeyMap::EntryOf(const QString& name)
{
    const auto it = entries_.find(name.toLower());
    if (it == entries_.end())
        throw NumberedError::ObjectNotFound(name);
    return it.value();
}

void KeyMap::Load(ISettingsStore& store)
{
    // Cleared first so that a read failure part-way leaves no stale entry
    // behind the failing key.
    loaded_ = false;
    for (QString& text : entries_)
        text.clear();
    // A store that cannot be written must not leave the surface without its
    // maps: every entry is taken, the write-back stops at the first failure,
    // and that failure is thrown once the whole map is in place.
    std::optional<NumberedError> writeFailure;
    for (const RigTypes::Info& rig : RigTypes::All()) {
        for (const KeyDef& def : Suffixes()) {
            const QString name = Name(rig.type, def.suffix);
            const QString value = store.Read(Section(), name, def.DefaultFor(rig.type));
            entries_[name] = value;
            if (!writeFailure)
                writeFailure = WriteBack(store, name, value);
        }
    }
    loaded_ = true;
    if (writeFailure)
        throw *writeFailure;
}

std::optional<NumberedError> KeyMap::WriteBack(ISettingsStore& store, const QString& name,
                                         const QString& value)
{
    try {
        store.Write(Section(), name, value);
    } catch (const NumberedError& e) {
        return e;
    }
    return std::nullopt;
}
