#pragma once

#include "core/MidiEvent.h"
#include "core/SurfaceControls.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

class ISettingsStore;

// The learned controls of a controller other than the surface: for each of the
// surface's sixteen controls, the first data byte (controller or note number)
// that the user's own controller sends for it. The key maps are built on the
// surface's numbers, so the pump puts each message's first data byte into the
// surface's numbering before the dispatcher builds the key; a byte that was
// not learned stays as it is, and an empty table changes nothing.
// Stored in section [surface] of the settings, one key per learned control
// ("wheelahome=14"), the byte in two hexadecimal digits. UI thread only.
class LearnedControls {
public:
    static QString Section() { return QStringLiteral("surface"); }

    // The controller's own byte for each control, in the order of SurfaceControls::All().
    using Table = std::array<std::optional<std::uint8_t>, SurfaceControls::kCount>;

    explicit LearnedControls(ISettingsStore& store);

    // Reads the table from the settings. An entry that is not a data byte in
    // hexadecimal, or that repeats a byte taken by an earlier control, is
    // ignored; those entries come back as "key=value" so that they can be
    // reported.
    QStringList Load();
    // The table becomes `table` and is stored: a key for each learned control,
    // and an empty value for a control learned before but not now. A store
    // that fails is thrown and leaves the new table in effect for this run.
    void Store(const Table& table);
    void Forget() { Store(Table{}); }

    const Table& Learned() const { return table_; }

    // `message` with its first data byte in the surface's numbering.
    MidiEvent Apply(const MidiEvent& message) const;

private:
    void Take(const Table& table);

    ISettingsStore& store_;
    Table table_{};
    // The surface's byte for each byte a controller can send; -1 where none was learned.
    std::array<std::int16_t, 128> surfaceByteOf_{};
};
