#include "core/KeyMap.h"

#include "core/VbError.h"

const QList<KeyMap::KeyDef>& KeyMap::Suffixes()
{
    static const QList<KeyDef> suffixes = {
        {QStringLiteral("6441"), QStringLiteral("Home Wheel A Up speed 1"), QStringLiteral("UP1;"), QStringLiteral("#UP10")},
        {QStringLiteral("6442"), QStringLiteral("Home Wheel A Up speed 2"), QStringLiteral("UP2;"), QStringLiteral("#UP20")},
        {QStringLiteral("6443"), QStringLiteral("Home Wheel A Up speed 3"), QStringLiteral("UP3;"), QStringLiteral("#UP50")},
        {QStringLiteral("6444"), QStringLiteral("Home Wheel A Up speed 4"), QStringLiteral("UP8;"), QStringLiteral("#UP100")},
        {QStringLiteral("6445"), QStringLiteral("Home Wheel A Up speed 5"), QStringLiteral("UP9;"), QStringLiteral("#UP200")},
        {QStringLiteral("6446"), QStringLiteral("Home Wheel A Up speed 6"), QStringLiteral("UP4;"), QStringLiteral("#UP1000")},
        {QStringLiteral("6447"), QStringLiteral("Home Wheel A Up speed 7"), QStringLiteral("UP5;"), QStringLiteral("#UP2000")},
        {QStringLiteral("6448"), QStringLiteral("Home Wheel A Up speed 8"), QStringLiteral("UP6;"), QStringLiteral("#UP2000")},
        {QStringLiteral("6449"), QStringLiteral("Home Wheel A Up speed 9"), QStringLiteral("UP7;"), QStringLiteral("#UP3000")},
        {QStringLiteral("644a"), QStringLiteral("Home Wheel A Up speed 10"), QStringLiteral("UP7;"), QStringLiteral("#UP3000")},
        {QStringLiteral("644b"), QStringLiteral("Home Wheel A Up speed 11"), QStringLiteral("UP7;"), QStringLiteral("#UP5000")},
        {QStringLiteral("644c"), QStringLiteral("Home Wheel A Up speed 12"), QStringLiteral("UP7;"), QStringLiteral("#UP5000")},
        {QStringLiteral("643f"), QStringLiteral("Home Wheel A Dn speed 1"), QStringLiteral("DN1;"), QStringLiteral("#DN10")},
        {QStringLiteral("643e"), QStringLiteral("Home Wheel A Dn speed 2"), QStringLiteral("DN2;"), QStringLiteral("#DN20")},
        {QStringLiteral("643d"), QStringLiteral("Home Wheel A Dn speed 3"), QStringLiteral("DN3;"), QStringLiteral("#DN50")},
        {QStringLiteral("643c"), QStringLiteral("Home Wheel A Dn speed 4"), QStringLiteral("DN8;"), QStringLiteral("#DN100")},
        {QStringLiteral("643b"), QStringLiteral("Home Wheel A Dn speed 5"), QStringLiteral("DN9;"), QStringLiteral("#DN200")},
        {QStringLiteral("643a"), QStringLiteral("Home Wheel A Dn speed 6"), QStringLiteral("DN4;"), QStringLiteral("#DN1000")},
        {QStringLiteral("6439"), QStringLiteral("Home Wheel A Dn speed 7"), QStringLiteral("DN5;"), QStringLiteral("#DN2000")},
        {QStringLiteral("6438"), QStringLiteral("Home Wheel A Dn speed 8"), QStringLiteral("DN6;"), QStringLiteral("#DN2000")},
        {QStringLiteral("6437"), QStringLiteral("Home Wheel A Dn speed 9"), QStringLiteral("DN7;"), QStringLiteral("#DN3000")},
        {QStringLiteral("6436"), QStringLiteral("Home Wheel A Dn speed 10"), QStringLiteral("DN7;"), QStringLiteral("#DN3000")},
        {QStringLiteral("6435"), QStringLiteral("Home Wheel A Dn speed 11"), QStringLiteral("DN7;"), QStringLiteral("#DN5000")},
        {QStringLiteral("6434"), QStringLiteral("Home Wheel A Dn speed 12"), QStringLiteral("DN7;"), QStringLiteral("#DN5000")},
        {QStringLiteral("km2sldb"), QStringLiteral("Mode 2 Slider B"), QStringLiteral(""), QStringLiteral("#TXPWR")},
        {QStringLiteral("km3sldb"), QStringLiteral("Mode 3 Slider B"), QStringLiteral(""), QStringLiteral("#CWSPD")},
        {QStringLiteral("017f"), QStringLiteral("Button 1"), QStringLiteral("SWT10;"), QStringLiteral("FT1;")},
        {QStringLiteral("027f"), QStringLiteral("Button 2"), QStringLiteral("SWT18;"), QStringLiteral("RT1;")},
        {QStringLiteral("037f"), QStringLiteral("Button 3"), QStringLiteral("SWT11;"), QStringLiteral("RC;")},
        {QStringLiteral("047f"), QStringLiteral("Button 4"), QStringLiteral("SWT13;"), QStringLiteral("#A/B")},
        {QStringLiteral("057f"), QStringLiteral("Button 5"), QStringLiteral("SWH13;"), QStringLiteral("NB1;")},
        {QStringLiteral("067f"), QStringLiteral("Button 6"), QStringLiteral("SWT25;"), QStringLiteral("#MUP")},
        {QStringLiteral("0b7f"), QStringLiteral("Button 1 Long Press"), QStringLiteral("SWT33;"), QStringLiteral("FT0;")},
        {QStringLiteral("0c7f"), QStringLiteral("Button 2 Long Press"), QStringLiteral("SWT34;"), QStringLiteral("RT0;")},
        {QStringLiteral("0d7f"), QStringLiteral("Button 3 Long Press"), QStringLiteral(""), QStringLiteral("")},
        {QStringLiteral("0e7f"), QStringLiteral("Button 4 Long Press"), QStringLiteral(""), QStringLiteral("#A>B")},
        {QStringLiteral("0f7f"), QStringLiteral("Button 5 Long Press"), QStringLiteral(""), QStringLiteral("NB0;")},
        {QStringLiteral("107f"), QStringLiteral("Button 6 Long Press"), QStringLiteral(""), QStringLiteral("")},
        {QStringLiteral("6634"), QStringLiteral("Mode 1 Wheel A Dn speed 12"), QStringLiteral("#DN5000"), QStringLiteral("#DN5000")},
        {QStringLiteral("6635"), QStringLiteral("Mode 1 Wheel A Dn speed 11"), QStringLiteral("#DN5000"), QStringLiteral("#DN5000")},
        {QStringLiteral("6636"), QStringLiteral("Mode 1 Wheel A Dn speed 10"), QStringLiteral("#DN3000"), QStringLiteral("#DN3000")},
        {QStringLiteral("6637"), QStringLiteral("Mode 1 Wheel A Dn speed 9"), QStringLiteral("#DN3000"), QStringLiteral("#DN3000")},
        {QStringLiteral("6638"), QStringLiteral("Mode 1 Wheel A Dn speed 8"), QStringLiteral("#DN2000"), QStringLiteral("#DN2000")},
        {QStringLiteral("6639"), QStringLiteral("Mode 1 Wheel A Dn speed 7"), QStringLiteral("#DN2000"), QStringLiteral("#DN2000")},
        {QStringLiteral("663a"), QStringLiteral("Mode 1 Wheel A Dn speed 6"), QStringLiteral("#DN1000"), QStringLiteral("#DN1000")},
        {QStringLiteral("663b"), QStringLiteral("Mode 1 Wheel A Dn speed 5"), QStringLiteral("#DN200"), QStringLiteral("#DN200")},
        {QStringLiteral("663c"), QStringLiteral("Mode 1 Wheel A Dn speed 4"), QStringLiteral("#DN100"), QStringLiteral("#DN100")},
        {QStringLiteral("663d"), QStringLiteral("Mode 1 Wheel A Dn speed 3"), QStringLiteral("#DN50"), QStringLiteral("#DN50")},
        {QStringLiteral("663e"), QStringLiteral("Mode 1 Wheel A Dn speed 2"), QStringLiteral("#DN20"), QStringLiteral("#DN20")},
        {QStringLiteral("663f"), QStringLiteral("Mode 1 Wheel A Dn speed 1"), QStringLiteral("#DN10"), QStringLiteral("#DN10")},
        {QStringLiteral("6641"), QStringLiteral("Mode 1 Wheel A Up speed 1"), QStringLiteral("#UP10"), QStringLiteral("#UP10")},
        {QStringLiteral("6642"), QStringLiteral("Mode 1 Wheel A Up speed 2"), QStringLiteral("#UP20"), QStringLiteral("#UP20")},
        {QStringLiteral("6643"), QStringLiteral("Mode 1 Wheel A Up speed 3"), QStringLiteral("#UP50"), QStringLiteral("#UP50")},
        {QStringLiteral("6644"), QStringLiteral("Mode 1 Wheel A Up speed 4"), QStringLiteral("#UP100"), QStringLiteral("#UP100")},
        {QStringLiteral("6645"), QStringLiteral("Mode 1 Wheel A Up speed 5"), QStringLiteral("#UP200"), QStringLiteral("#UP200")},
        {QStringLiteral("6646"), QStringLiteral("Mode 1 Wheel A Up speed 6"), QStringLiteral("#UP1000"), QStringLiteral("#UP1000")},
        {QStringLiteral("6647"), QStringLiteral("Mode 1 Wheel A Up speed 7"), QStringLiteral("#UP2000"), QStringLiteral("#UP2000")},
        {QStringLiteral("6648"), QStringLiteral("Mode 1 Wheel A Up speed 8"), QStringLiteral("#UP2000"), QStringLiteral("#UP2000")},
        {QStringLiteral("6649"), QStringLiteral("Mode 1 Wheel A Up speed 9"), QStringLiteral("#UP3000"), QStringLiteral("#UP3000")},
        {QStringLiteral("664a"), QStringLiteral("Mode 1 Wheel A Up speed 10"), QStringLiteral("#UP3000"), QStringLiteral("#UP3000")},
        {QStringLiteral("664b"), QStringLiteral("Mode 1 Wheel A Up speed 11"), QStringLiteral("#UP5000"), QStringLiteral("#UP5000")},
        {QStringLiteral("664c"), QStringLiteral("Mode 1 Wheel A Up speed 12"), QStringLiteral("#UP5000"), QStringLiteral("#UP5000")},
    };
    return suffixes;
}

const QStringList& KeyMap::Names()
{
    static const QStringList names = [] {
        QStringList out;
        for (const QString& prefix : {QStringLiteral("e"), QStringLiteral("f")})
            for (const KeyDef& def : Suffixes())
                out << prefix + def.suffix;
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
        throw VbError::ObjectNotFound(name);
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
        throw VbError::ObjectNotFound(name);
    return it.value();
}

QString KeyMap::DefaultOf(int index)
{
    const QList<KeyDef>& defs = Suffixes();
    const KeyDef& def = defs[index % defs.size()];
    return index < defs.size() ? def.elecraftDefault : def.flexDefault;
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
    std::optional<VbError> writeFailure;
    const QStringList& names = Names();
    for (int i = 0; i < names.size(); ++i) {
        const QString value = store.Read(Section(), names[i], DefaultOf(i));
        entries_[names[i]] = value;
        if (!writeFailure)
            writeFailure = WriteBack(store, names[i], value);
    }
    loaded_ = true;
    if (writeFailure)
        throw *writeFailure;
}

std::optional<VbError> KeyMap::WriteBack(ISettingsStore& store, const QString& name,
                                         const QString& value)
{
    try {
        store.Write(Section(), name, value);
    } catch (const VbError& e) {
        return e;
    }
    return std::nullopt;
}
