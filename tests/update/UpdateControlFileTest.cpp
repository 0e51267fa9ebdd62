#include "support/QtPrinters.h"
#include "update/UpdateControlFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// The entries read from `xml`, after "refused: " when the load failed.
QString Read(const QByteArray& xml)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("control.xml")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(xml) == xml.size() && file.flush());
    UpdateControlFile control;
    const bool ok = control.Load(file.fileName());
    EXPECT_EQ(ok, control.errorReason().isEmpty()) << xml.constData();
    QStringList entries;
    for (const UpdateControlFile::Entry& e : control.entries())
        entries << e.name + "=" + e.text;
    return (ok ? "" : "refused: ") + entries.join('|');
}
}  // namespace

TEST(UpdateControlFile, ChildrenOfApplicationInDocumentOrderAndNothingElse)
{
    EXPECT_EQ(Read("<?xml version=\"1.0\"?>\n<Application>\n <version>\n  1.2.0 \n</version>\n"
                   " <notes>fixes <b>two</b> bugs</notes>\n <md5>ABC</md5>\n <empty/>\n</Application>\n"),
              "version=1.2.0|notes=fixes two bugs|md5=ABC|empty=");
    EXPECT_EQ(Read("<application><version>9.9</version></application>"), "");
    // The server is not trusted: an external entity must not pull in local files.
    EXPECT_FALSE(Read("<!DOCTYPE Application [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
                      "<Application><md5>&e;</md5></Application>").contains("root"));
    for (const char* xml : {"", "<Application><version>9.9</version>", "<Application/><second/>", "not xml"})
        EXPECT_EQ(Read(xml), "refused: ") << xml;
}
