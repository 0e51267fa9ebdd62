#include "mapedit/MapEditorLayout.h"

#include <array>

namespace {

QString Hex2(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0'));
}

// A wheel reports speed n as 0x40 + n when turned up and 0x40 - n when turned down.
QString WheelSuffix(int controller, int speed, bool up)
{
    return Hex2(controller) + Hex2(up ? 0x40 + speed : 0x40 - speed);
}

constexpr int kHomeWheel = 0x64;
constexpr int kMode1Wheel = 0x66;
constexpr int kSpeeds = 12;
constexpr int kButtons = 6;
constexpr int kFirstLongPress = 0x0b;

constexpr std::array<int, 5> kLabelLeft = {120, 3480, 6840, 10320, 13800};
constexpr std::array<int, 5> kBoxLeft = {2280, 5640, 9120, 12600, 15480};

QList<MapEditorLayout::Field> BuildFields()
{
    QList<MapEditorLayout::Field> fields;
    for (int n = 1; n <= kSpeeds; ++n)
        fields.append({WheelSuffix(kHomeWheel, n, true), 1, n, true});
    for (int n = 1; n <= kSpeeds; ++n)
        fields.append({WheelSuffix(kHomeWheel, n, false), 2, n, true});
    for (int b = 1; b <= kButtons; ++b)
        fields.append({Hex2(b) + QStringLiteral("7f"), 5, b, true});
    for (int b = 0; b < kButtons; ++b)
        fields.append({Hex2(kFirstLongPress + b) + QStringLiteral("7f"), 5, kButtons + 1 + b, true});
    fields.append({QStringLiteral("km2sldb"), 1, 13, false});
    fields.append({QStringLiteral("km3sldb"), 2, 13, false});
    for (int n = kSpeeds; n >= 1; --n)
        fields.append({WheelSuffix(kMode1Wheel, n, false), 4, n, false});
    for (int n = 1; n <= kSpeeds; ++n)
        fields.append({WheelSuffix(kMode1Wheel, n, true), 3, n, false});
    return fields;
}

} // namespace

const QList<MapEditorLayout::Field>& MapEditorLayout::Fields()
{
    static const QList<Field> fields = BuildFields();
    return fields;
}

QString MapEditorLayout::BoxName(const Field& field, const QString& rigPrefix)
{
    return QStringLiteral("txt") + (field.sharedName ? QStringLiteral("m") : rigPrefix) +
           field.suffix;
}

QRect MapEditorLayout::BoxRect(const Field& field)
{
    return QRect(kBoxLeft[field.column - 1], RowTop(field.row), 975, 285);
}

QRect MapEditorLayout::LabelRect(const Field& field)
{
    return QRect(kLabelLeft[field.column - 1], RowTop(field.row), LabelWidth(field), 255);
}

int MapEditorLayout::LabelWidth(const Field& field)
{
    switch (field.column) {
    case 1: return field.row == 13 ? 1935 : 2055;
    case 2: return 2055;
    case 3: return field.row == 1 ? 2295 : 2175;
    case 4: return 2175;
    default: return field.row <= kButtons ? 735 : 1455;
    }
}
