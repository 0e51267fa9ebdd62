#include "hamlib/HamlibModelDialog.h"
#include "support/QtPrinters.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {
struct Dialog : HamlibModelDialog {
    Dialog() : HamlibModelDialog({"/dev/ttyUSB0", "/dev/ttyS0"}, {}) {}
    QStringList Column(int column) const
    {
        QStringList texts;
        const QAbstractItemModel* rows = findChild<QTableView*>()->model();
        for (int row = 0; row < rows->rowCount(); ++row)
            texts << rows->index(row, column).data().toString();
        return texts;
    }
    QStringList Speeds() const
    {
        QStringList texts;
        const auto* speed = findChild<QComboBox*>("speed");
        for (int i = 0; i < speed->count(); ++i)
            texts << speed->itemText(i);
        return texts;
    }
    bool Ready() const { return findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled(); }
};
}

TEST(HamlibModelDialog, TypingAFilterNarrowsTheModelsToMakerModelOrNumber)
{
    Dialog dialog;
    const int all = dialog.Column(0).size();
    const struct { const char* typed; QStringList models; } cases[] = {
        {"2028", {"TS-480"}}, {"dummy", {"Dummy", "Dummy No VFO"}}, {"net rig", {"NET rigctl"}}, {"no such radio", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        auto* filter = dialog.findChild<QLineEdit*>("filter");
        filter->clear();
        QTest::keyClicks(filter, c.typed);
        EXPECT_EQ(dialog.Column(1), c.models);
    }
    // A model the filter hides is chosen by clearing the filter.
    ASSERT_TRUE(dialog.ChooseModel(2028));
    EXPECT_EQ(dialog.config().model, 2028);
    EXPECT_EQ(dialog.Column(0).size(), all);
    EXPECT_GT(dialog.Column(0).filter("Kenwood").size(), 20);
}

TEST(HamlibModelDialog, ModelsOfferTheirPortsAndSpeedsAndOkWaitsForBoth)
{
    Dialog dialog;
    EXPECT_FALSE(dialog.Ready());
    const struct { int model; QString port; QStringList speeds; bool speedEnabled; } cases[] = {
        {2028, "/dev/ttyUSB0", {"115200", "57600", "38400", "19200", "9600", "4800"}, true},
        {2, "127.0.0.1:4532", {}, false},
        {4, "127.0.0.1:12345", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        ASSERT_TRUE(dialog.ChooseModel(c.model));
        EXPECT_EQ(dialog.Speeds(), c.speeds);
        EXPECT_EQ(dialog.findChild<QComboBox*>("speed")->isEnabled(), c.speedEnabled);
        const HamlibConfig chosen = dialog.config();
        EXPECT_TRUE(chosen.model == c.model && chosen.port == c.port && chosen.speed == c.speeds.value(0).toInt());
        EXPECT_TRUE(dialog.Ready());
        dialog.SetPort("");
        EXPECT_FALSE(dialog.Ready());
    }
    EXPECT_FALSE(dialog.ChooseModel(99999));
}
