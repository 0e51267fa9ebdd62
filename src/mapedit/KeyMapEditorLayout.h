#pragma once

#include <QList>
#include <QRect>
#include <QString>

// Where each of the 62 keys of a rig type sits in a key map editor, in the
// order in which the editor loads and saves them. Positions are in twips.
class KeyMapEditorLayout {
public:
    struct Field {
        QString suffix;
        int column;       // 1 to 5, left to right
        int row;          // 1 to 13, top to bottom
    };

    static constexpr int kFieldCount = 62;
    // Tab order puts the save button after the first kFieldsBeforeSave boxes.
    static constexpr int kFieldsBeforeSave = 36;

    static const QList<Field>& Fields();

    static QRect BoxRect(const Field& field);
    static QRect LabelRect(const Field& field);

    static QRect ClientRect() { return QRect(0, 0, 16740, 6195); }
    static QRect InstructionRect(int left) { return QRect(left, 5160, 6615, 255); }
    static QRect SaveRect() { return QRect(7800, 5520, 855, 495); }
    static QRect CancelRect() { return QRect(9000, 5520, 855, 495); }

private:
    static int RowTop(int row) { return 240 + 360 * (row - 1); }
    static int LabelWidth(const Field& field);
};
