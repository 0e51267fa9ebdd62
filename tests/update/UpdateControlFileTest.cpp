#include "support/QtPrinters.h"
#include "update/UpdateControlFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QStringList Read(const QByteArray& xml, bool* loaded = nullptr)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("control.xml")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xml);
    file.close();
    UpdateControlFile control;
    const bool ok = control.Load(file.fileName());
    EXPECT_EQ(ok, control.errorReason().isEmpty()) << xml.constData();
    if (loaded)
        *loaded = ok;
    QStringList entries;
    for (const UpdateControlFile::Entry& e : control.entries())
        entries << e.name + "=" + e.text;
    return entries;
}
}  // namespace

TEST(UpdateControlFile, ChildrenOfApplicationInDocumentOrderAndNothingElse)
{
    EXPECT_EQ(Read("<?xml version=\"1.0\"?>\n<Application>\n <version>\n  1.2.0 \n</version>\n"
                   " <notes>fixes <b>two</b> bugs</notes>\n <md5>ABC</md5>\n <empty/>\n</Application>\n"),
              QStringList({"version=1.2.0", "notes=fixes two bugs", "md5=ABC", "empty="}));
    EXPECT_TRUE(Read("<application><version>9.9</version></application>").isEmpty());
    // The server is not trusted: an external entity must not pull in local files.
    for (const QString& entry : Read("<!DOCTYPE Application [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
                                     "<Application><md5>&e;</md5></Application>"))
        EXPECT_FALSE(entry.contains("root")) << entry.toStdString();
    for (const QByteArray xml : {QByteArray(""), QByteArray("<Application><version>9.9</version>"),
                                 QByteArray("<Application/><second/>"), QByteArray("not xml")}) {
        bool loaded = true;
        EXPECT_TRUE(Read(xml, &loaded).isEmpty()) << xml.constData();
        EXPECT_FALSE(loaded) << xml.constData();
    }
}
