#include "mapedit/KeyMapEditorLayout.h"

#include "core/KeyMap.h"

#include <array>

namespace {
using Id = SurfaceControls::Id;

constexpr int kSpeeds = SurfaceControls::kWheelSpeeds;
constexpr int kButtons = SurfaceControls::kButtons;

constexpr std::array<int, 5> kLabelLeft = {120, 3480, 6840, 10320, 13800};
constexpr std::array<int, 5> kBoxLeft = {2280, 5640, 9120, 12600, 15480};

QList<KeyMapEditorLayout::Field> BuildFields()
{
    QList<KeyMapEditorLayout::Field> fields;
    for (int n = 1; n <= kSpeeds; ++n)
        fields.append({KeyMap::WheelSuffix(Id::WheelHome, n, true), 1, n});
    for (int n = 1; n <= kSpeeds; ++n)
        fields.append({KeyMap::WheelSuffix(Id::WheelHome, n, false), 2, n});
    for (int b = 1; b <= kButtons; ++b)
        fields.append({KeyMap::ButtonSuffix(b, false), 5, b});
    for (int b = 1; b <= kButtons; ++b)
        fields.append({KeyMap::ButtonSuffix(b, true), 5, kButtons + b});
    fields.append({KeyMap::PowerSliderSuffix(), 1, 13});
    fields.append({KeyMap::SpeedSliderSuffix(), 2, 13});
    for (int n = kSpeeds; n >= 1; --n)
        fields.append({KeyMap::WheelSuffix(Id::WheelMode1, n, false), 4, n});
    for (int n = 1; n <= kSpeeds; ++n)
        fields.append({KeyMap::WheelSuffix(Id::WheelMode1, n, true), 3, n});
    return fields;
}

} // namespace

const QList<KeyMapEditorLayout::Field>& KeyMapEditorLayout::Fields()
{
    static const QList<Field> fields = BuildFields();
    return fields;
}

QRect KeyMapEditorLayout::BoxRect(const Field& field)
{
    return QRect(kBoxLeft[field.column - 1], RowTop(field.row), 975, 285);
}

QRect KeyMapEditorLayout::LabelRect(const Field& field)
{
    return QRect(kLabelLeft[field.column - 1], RowTop(field.row), LabelWidth(field), 255);
}

int KeyMapEditorLayout::LabelWidth(const Field& field)
{
    switch (field.column) {
    case 1: return field.row == 13 ? 1935 : 2055;
    case 2: return 2055;
    case 3: return field.row == 1 ? 2295 : 2175;
    case 4: return 2175;
    default: return field.row <= kButtons ? 735 : 1455;
    }
}
