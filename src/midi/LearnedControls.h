#pragma once

#include "core/SurfaceControls.h"
#include "midi/ControllerControl.h"
#include "midi/WheelEncoding.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class ISettingsStore;

// The learned controls of a controller other than the surface: for each of
// the surface's sixteen controls, the user's control that stands for it, and
// for a wheel how its turns are told. Stored in section [surface] of the
// settings, one key per learned control: "wheelahome=cc 2 0A twos",
// "button1=note 1 24", "sliderbmode2=bend 1"; an entry of two hexadecimal
// digits alone ("wheelahome=30"), as the program stored them before it told
// kinds and channels apart, stands for that number in any message and keeps
// the surface's values. UI thread only.
class LearnedControls {
public:
    struct Learned {
        ControllerControl control;
        // For a wheel learned with its turns; an entry of a number alone keeps the surface's values.
        WheelEncoding encoding = WheelEncoding::Offset64;

        // The stored text, and back; none for a text that is no control.
        QString Text(SurfaceControls::Kind kind) const;
        static std::optional<Learned> Parse(const QString& text, SurfaceControls::Kind kind);
        bool operator==(const Learned& other) const { return control == other.control && encoding == other.encoding; }
    };
    // In the order of SurfaceControls::All().
    using Table = std::array<std::optional<Learned>, SurfaceControls::kCount>;

    static QString Section() { return QStringLiteral("surface"); }

    explicit LearnedControls(ISettingsStore& store);

    // Reads the table from the settings. An entry that is no control, or that
    // would take messages of a control before it, is ignored; those entries
    // come back as "key=value" so that they can be reported.
    QStringList Load();
    // The table becomes `table` and is stored: a key for each learned control,
    // and an empty value for a control learned before but not now. A store
    // that fails is thrown and leaves the new table in effect for this run.
    void Store(const Table& table);
    void Forget() { Store(Table{}); }

    const Table& table() const { return table_; }
    // Counts the changes of the table, so that users of it know to start afresh.
    int generation() const { return generation_; }

private:
    void Take(const Table& table);

    ISettingsStore& store_;
    Table table_{};
    int generation_ = 0;
};
