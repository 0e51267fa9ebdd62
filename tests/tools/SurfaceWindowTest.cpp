#include "RecordingMidiOut.h"
#include "vsurface/SurfaceWindow.h"

#include <QComboBox>
#include <QDial>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {
using Sent = std::vector<MidiBytes>;

class SurfaceWindowTest : public ::testing::Test {
protected:
    SurfaceWindowTest() : window(&out, QStringLiteral("test port"))
    {
        window.show();
        dial = window.findChild<QDial*>("dial");
        slider = window.findChild<QSlider*>("slider");
        modeSelector = window.findChild<QComboBox*>("modeSelector");
        lastMessage = window.findChild<QLabel*>("lastMessage");
    }

    QPushButton* Button(int n) { return window.findChild<QPushButton*>(QString("button%1").arg(n)); }

    Sent Take()
    {
        Sent taken;
        taken.swap(out.sent);
        return taken;
    }

    RecordingMidiOut out;
    SurfaceWindow window;
    QDial* dial = nullptr;
    QSlider* slider = nullptr;
    QComboBox* modeSelector = nullptr;
    QLabel* lastMessage = nullptr;
};
}

TEST_F(SurfaceWindowTest, AllNamedControlsExist)
{
    ASSERT_NE(dial, nullptr);
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(modeSelector, nullptr);
    ASSERT_NE(lastMessage, nullptr);
    for (int n = 1; n <= 6; ++n)
        ASSERT_NE(Button(n), nullptr) << n;
    EXPECT_EQ(modeSelector->count(), 4);
}

TEST_F(SurfaceWindowTest, DialTurnsFollowTheMode)
{
    dial->setValue(dial->value() + 1);
    EXPECT_EQ(Take(), (Sent{{0xB0, 0x64, 0x41}}));
    EXPECT_EQ(lastMessage->text(), "B0 64 41");

    modeSelector->setCurrentIndex(1);
    dial->setValue(dial->value() - 1);
    EXPECT_EQ(Take(), (Sent{{0xB0, 0x66, 0x3F}}));

    modeSelector->setCurrentIndex(2);
    EXPECT_FALSE(dial->isEnabled());
    dial->setValue(dial->value() + 1);
    EXPECT_EQ(Take(), Sent{});
}

TEST_F(SurfaceWindowTest, DialWrapsTheShortWayRound)
{
    dial->setValue(0);
    Take();
    dial->setValue(SurfaceWindow::kDialPositions - 1);
    EXPECT_EQ(Take(), (Sent{{0xB0, 0x64, 0x3F}})) << "0 -> 99 is one step down";
    dial->setValue(0);
    const Sent up = Take();
    ASSERT_EQ(up.size(), 1u);
    EXPECT_GT(up[0][2], 0x40) << "99 -> 0 is up";
}

TEST_F(SurfaceWindowTest, BigTurnIsFast)
{
    dial->setValue(dial->value() + 30);
    EXPECT_EQ(Take(), (Sent{{0xB0, 0x64, 0x4C}}));
}

TEST_F(SurfaceWindowTest, SliderSendsOnlyInMode2And3)
{
    slider->setValue(10);
    EXPECT_EQ(Take(), Sent{});
    EXPECT_FALSE(slider->isEnabled());
    modeSelector->setCurrentIndex(2);
    EXPECT_TRUE(slider->isEnabled());
    slider->setValue(100);
    modeSelector->setCurrentIndex(3);
    slider->setValue(127);
    EXPECT_EQ(Take(), (Sent{{0xB0, 0x68, 0x64}, {0xB0, 0x6A, 0x7F}}));
}

TEST_F(SurfaceWindowTest, MouseClicksGiveShortAndLongPresses)
{
    QTest::mouseClick(Button(3), Qt::LeftButton);
    EXPECT_EQ(Take(), (Sent{{0xB0, 0x03, 0x7F}, {0xB0, 0x03, 0x00}}));

    QTest::mousePress(Button(6), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Take(), (Sent{{0xB0, 0x10, 0x7F}}));
    QTest::mouseRelease(Button(6), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Take(), (Sent{{0xB0, 0x10, 0x00}}));
    EXPECT_EQ(lastMessage->text(), "B0 10 00");
}

TEST_F(SurfaceWindowTest, KeyboardDrivesEveryControl)
{
    QTest::keyClick(&window, Qt::Key_Up);
    QTest::keyClick(&window, Qt::Key_Minus);
    Sent sent = Take();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], (MidiBytes{0xB0, 0x64, 0x41}));
    EXPECT_EQ(sent[1], (MidiBytes{0xB0, 0x64, 0x3F}));

    QTest::keyClick(&window, Qt::Key_Up, Qt::ShiftModifier);
    sent = Take();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_GE(sent[0][2], 0x40 + SurfaceWindow::kFastSteps);

    QTest::keyPress(&window, Qt::Key_2);
    QTest::keyRelease(&window, Qt::Key_2);
    EXPECT_EQ(Take(), (Sent{{0xB0, 0x02, 0x7F}, {0xB0, 0x02, 0x00}}));

    QTest::keyPress(&window, Qt::Key_At, Qt::ShiftModifier);
    QTest::keyRelease(&window, Qt::Key_2);
    EXPECT_EQ(Take(), (Sent{{0xB0, 0x0C, 0x7F}, {0xB0, 0x0C, 0x00}}));

    QTest::keyClick(&window, Qt::Key_M);
    QTest::keyClick(&window, Qt::Key_M);
    EXPECT_EQ(modeSelector->currentIndex(), 2);
    QTest::keyClick(&window, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&window, Qt::Key_Left);
    EXPECT_EQ(Take(), (Sent{{0xB0, 0x68, 0x08}, {0xB0, 0x68, 0x07}}));
    QTest::keyClick(&window, Qt::Key_Up);
    EXPECT_EQ(Take(), Sent{}) << "the wheel is silent in Mode 2";
    QTest::keyClick(&window, Qt::Key_M);
    QTest::keyClick(&window, Qt::Key_M);
    EXPECT_EQ(modeSelector->currentIndex(), 0);
}

TEST_F(SurfaceWindowTest, SendFailureIsShownAndTheWindowGoesOn)
{
    out.failWith = "JACK went away";
    dial->setValue(dial->value() + 1);
    EXPECT_EQ(window.findChild<QLabel*>("portStatus")->text(), "JACK went away");
    EXPECT_EQ(lastMessage->text(), "B0 64 41");
    out.failWith = nullptr;
    dial->setValue(dial->value() + 1);
    EXPECT_EQ(Take().size(), 1u);
}

TEST(SurfaceWindowWithoutPort, ShowsMessagesWithoutSending)
{
    SurfaceWindow window(nullptr, QStringLiteral("no port"));
    auto* dial = window.findChild<QDial*>("dial");
    dial->setValue(dial->value() + 1);
    EXPECT_EQ(window.findChild<QLabel*>("lastMessage")->text(), "B0 64 41");
}
