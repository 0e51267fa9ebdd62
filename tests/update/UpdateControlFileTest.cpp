#include "support/QtPrinters.h"
#include "update/UpdateControlFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString Write(const QTemporaryDir& dir, const QByteArray& xml)
{
    const QString path = dir.filePath(QStringLiteral("control.xml"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xml);
    return path;
}
}

TEST(UpdateControlFile, ChildrenOfApplicationInDocumentOrder)
{
    QTemporaryDir dir;
    UpdateControlFile control;
    ASSERT_TRUE(control.Load(Write(dir, "<?xml version=\"1.0\"?>\n<Application>\n"
                                        " <version>\n  1.2.0 \n</version>\n"
                                        " <notes>fixes <b>two</b> bugs</notes>\n"
                                        " <md5>ABC</md5>\n <version>1.3</version>\n"
                                        " <empty/>\n</Application>\n")));
    const QList<UpdateControlFile::Entry>& e = control.entries();
    ASSERT_EQ(e.size(), 5);
    EXPECT_EQ(e[0].name, "version");
    EXPECT_EQ(e[0].text, "1.2.0");
    EXPECT_EQ(e[1].name, "notes");
    EXPECT_EQ(e[1].text, "fixes two bugs");
    EXPECT_EQ(e[2].text, "ABC");
    EXPECT_EQ(e[3].text, "1.3");
    EXPECT_EQ(e[4].name, "empty");
    EXPECT_EQ(e[4].text, "");
}

TEST(UpdateControlFile, OtherRootGivesNoEntries)
{
    QTemporaryDir dir;
    UpdateControlFile control;
    ASSERT_TRUE(control.Load(Write(dir, "<application><version>9.9</version></application>")));
    EXPECT_TRUE(control.entries().isEmpty());
}

TEST(UpdateControlFile, BrokenFilesGiveAReasonAndNoEntries)
{
    const QByteArray broken[] = {
        "",
        "<Application><version>9.9</version>",
        "<Application><version>9.9</version></Application><second/>",
        "not xml at all",
    };
    QTemporaryDir dir;
    for (const QByteArray& xml : broken) {
        UpdateControlFile control;
        EXPECT_FALSE(control.Load(Write(dir, xml))) << xml.constData();
        EXPECT_FALSE(control.errorReason().isEmpty()) << xml.constData();
        EXPECT_TRUE(control.entries().isEmpty()) << xml.constData();
    }
}

// The server is not trusted: an external entity must not pull in local files.
TEST(UpdateControlFile, ExternalEntitiesAreNotResolved)
{
    QTemporaryDir dir;
    UpdateControlFile control;
    control.Load(Write(dir, "<!DOCTYPE Application [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
                            "<Application><md5>&e;</md5></Application>"));
    for (const UpdateControlFile::Entry& entry : control.entries())
        EXPECT_FALSE(entry.text.contains("root")) << entry.text.toStdString();
}
