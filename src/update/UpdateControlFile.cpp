#include "update/UpdateControlFile.h"

#include <QFile>
#include <QXmlStreamReader>

bool UpdateControlFile::Load(const QString& path)
{
    entries_.clear();
    errorReason_.clear();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errorReason_ = file.errorString();
        return false;
    }

    // The file is read to its end before any entry counts, so that a file
    // broken further down yields no entries at all.
    QList<Entry> found;
    QXmlStreamReader xml(&file);
    if (xml.readNextStartElement() && xml.name() == QLatin1String("Application")) {
        while (xml.readNextStartElement()) {
            const QString name = xml.name().toString();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            found.append(Entry{name, text.trimmed()});
        }
    }
    while (!xml.atEnd() && !xml.hasError())
        xml.readNext();
    if (xml.hasError()) {
        errorReason_ = xml.errorString();
        return false;
    }
    entries_ = found;
    return true;
}
