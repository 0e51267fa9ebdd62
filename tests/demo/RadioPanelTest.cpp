// The radio simulator's front panel: how it writes the radio's state, and that
// it follows the radio live as commands come over the line.
#include "RadioDisplayText.h"
#include "RadioModel.h"
#include "RadioPanel.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>
#include <ostream>

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

TEST(RadioDisplayText, FrequenciesInMegahertz)
{
    const struct {
        QByteArray hz;
        QString shown;
    } cases[] = {
        {"00014060010", "14.060 010"},
        {"00007030000", "7.030 000"},
        {"00000000000", "0.000 000"},
        {"00000000999", "0.000 999"},
        {"00050313000", "50.313 000"},
        {"10000000000", "10000.000 000"},
        {"-00000001500", "-0.001 500"},
        {"999999999999999999", "999999999999.999 999"},
        // Not a number the panel can scale: shown as the line carried it.
        {"9999999999999999999", "9999999999999999999"},
        {"", ""},
        {"14.06", "14.06"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RadioDisplayText::Megahertz(c.hz), c.shown) << c.hz.constData();
}

TEST(RadioDisplayText, ModesByDigitAndName)
{
    const struct {
        char digit;
        QString shown;
    } cases[] = {
        {'1', "1 LSB"},  {'2', "2 USB"},    {'3', "3 CW"}, {'4', "4 FM"},
        {'5', "5 AM"},   {'6', "6 DATA"},   {'7', "7 CW-REV"},
        {'9', "9 DATA-REV"}, {'8', "8"},    {'0', "0"},    {'x', "x"},
        {'\x01', "<01>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RadioDisplayText::Mode(c.digit), c.shown) << int(c.digit);
}

TEST(RadioDisplayText, CommandsKeepTheirTextAndShowLineNoise)
{
    EXPECT_EQ(RadioDisplayText::Command("FA00014060010"), "FA00014060010;");
    EXPECT_EQ(RadioDisplayText::Command(""), ";");
    EXPECT_EQ(RadioDisplayText::Command(QByteArray("I\0F\r\n\xff", 6)), "I<00>F<0D><0A><FF>;");
}

QString Text(const RadioPanel& panel, const char* name)
{
    const auto* label = panel.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

QStringList ShownCommands(const RadioPanel& panel)
{
    QStringList shown;
    const auto* list = panel.findChild<QListWidget*>(QStringLiteral("lastCommands"));
    for (int i = 0; list && i < list->count(); ++i)
        shown << list->item(i)->text();
    return shown;
}

TEST(RadioPanel, ShowsTheRadioAsItStartsAndTheLine)
{
    RadioModel radio(RadioModel::Settings{});
    radio.Execute("IF");
    RadioPanel panel(radio, QStringLiteral("/tmp/demo/radio"));

    EXPECT_EQ(panel.windowTitle(), "Radio Simulator");
    EXPECT_EQ(Text(panel, "vfoA"), "14.060 000 MHz");
    EXPECT_EQ(Text(panel, "vfoB"), "7.030 000 MHz");
    EXPECT_EQ(Text(panel, "mode"), "3 CW");
    EXPECT_EQ(Text(panel, "rit"), "off");
    EXPECT_EQ(Text(panel, "xit"), "off");
    EXPECT_EQ(Text(panel, "power"), "50 W");
    EXPECT_EQ(Text(panel, "keyerSpeed"), "20 WPM");
    EXPECT_TRUE(Text(panel, "line").contains("/tmp/demo/radio"));
    EXPECT_EQ(ShownCommands(panel), QStringList{"IF;"});
}

TEST(RadioPanel, FollowsEveryCommandNewestOnTop)
{
    RadioModel radio(RadioModel::Settings{});
    RadioPanel panel(radio, QString());

    const QByteArray commands[] = {"FA00014060010", "FB00007031500", "MD9", "RT1", "XT1",
                                   "PC010", "KS035", "UP4", "IF", "XX"};
    for (const QByteArray& command : commands)
        radio.Execute(command);

    EXPECT_EQ(Text(panel, "vfoA"), "14.061 010 MHz");  // FA, then UP4 (1 kHz)
    EXPECT_EQ(Text(panel, "vfoB"), "7.031 500 MHz");
    EXPECT_EQ(Text(panel, "mode"), "9 DATA-REV");
    EXPECT_EQ(Text(panel, "rit"), "on");
    EXPECT_EQ(Text(panel, "xit"), "on");
    EXPECT_EQ(Text(panel, "power"), "10 W");
    EXPECT_EQ(Text(panel, "keyerSpeed"), "35 WPM");
    const QStringList shown = ShownCommands(panel);
    ASSERT_EQ(shown.size(), 10);
    EXPECT_EQ(shown.first(), "XX;");
    EXPECT_EQ(shown.last(), "FA00014060010;");
}

TEST(RadioPanel, KeepsOnlyTheNewestCommands)
{
    RadioModel radio(RadioModel::Settings{});
    RadioPanel panel(radio, QString());
    for (int i = 0; i < RadioPanel::kShownCommands + 30; ++i)
        radio.Execute("KS0" + QByteArray::number(10 + i));

    const QStringList shown = ShownCommands(panel);
    ASSERT_EQ(shown.size(), RadioPanel::kShownCommands);
    EXPECT_EQ(shown.first(), QStringLiteral("KS0%1;").arg(10 + RadioPanel::kShownCommands + 29));
    EXPECT_EQ(shown.last(), QStringLiteral("KS0%1;").arg(10 + 30));
}

}  // namespace
