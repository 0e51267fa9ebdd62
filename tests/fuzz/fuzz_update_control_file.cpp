// The update server's control file, whatever the server sends: any bytes,
// broken or hostile XML (entities, deep nesting, huge texts). Loading either
// fails with a reason and no entries, or gives the children of Application;
// the version comparison that follows never calls two texts newer than each other.
#include "FuzzCheck.h"
#include "update/UpdateControlFile.h"
#include "update/VersionText.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("Vorn-MIDI_Connector_update.xml"));
    {
        QFile file(path);
        Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "control file written");
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }

    UpdateControlFile control;
    if (!control.Load(path)) {
        Require(control.entries().isEmpty(), "no entries from a broken file");
        Require(!control.errorReason().isEmpty(), "a broken file has a reason");
        return 0;
    }
    const QString running = QStringLiteral("1.1.5");
    for (const UpdateControlFile::Entry& entry : control.entries()) {
        Require(!entry.name.isEmpty(), "an element has a name");
        Require(entry.text == entry.text.trimmed(), "texts come without surrounding blanks", entry.text);
        Require(!(VersionText::IsNewer(entry.text, running) && VersionText::IsNewer(running, entry.text)),
                "version order is one-way", entry.text);
        Require(!VersionText::IsNewer(entry.text, entry.text), "a version is not newer than itself",
                entry.text);
    }
    return 0;
}
