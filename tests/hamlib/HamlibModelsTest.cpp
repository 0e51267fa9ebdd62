#include "hamlib/HamlibModels.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(HamlibModels, ListsKnownModelsWithTheirPortsAndSpeedsAndNoUnknownNumber)
{
    const HamlibModels& models = HamlibModels::Instance();
    EXPECT_EQ(models.Find(99999), nullptr);
    const struct {
        int number;
        QString maker, name;
        HamlibPortKind kind;
        int speed;
        QList<int> speeds;
        QString port;
    } cases[] = {
        {1, "Hamlib", "Dummy", HamlibPortKind::Other, 0, {}, ""},
        {2, "Hamlib", "NET rigctl", HamlibPortKind::Network, 0, {}, "127.0.0.1:4532"},
        {2028, "Kenwood", "TS-480", HamlibPortKind::Serial, 115200, {4800, 9600, 19200, 38400, 57600, 115200}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        const HamlibModel* model = models.Find(c.number);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(QStringList({model->maker, model->name, model->status, model->defaultPort}),
                  QStringList({c.maker, c.name, "Stable", c.port}));
        EXPECT_TRUE(model->portKind == c.kind && model->defaultSpeed == c.speed && model->speeds == c.speeds);
    }
}
