// Every caption of every window fits the space its control gives it, and no
// two controls overlap. CTest runs this twice, each time through a fontconfig
// file of its own: with the Liberation fonts (Arial's metrics, for which the
// windows are laid out) and with DejaVu only (wider). VMC_FONT_FAMILY names
// the family the labels and buttons of the fixed-layout windows must be drawn
// in; VMC_CAPTION_SHOTS=<folder> saves a picture of each window there.
#include "app/PortDevicesDialog.h"
#include "app/frmVornMidiConnector.h"
#include "mapedit/frmMap_Midi.h"
#include "midi/frmConfig_Midi.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"
#include "update/frmUpdater.h"
#include "widgets/WrappingButton.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// QLineEdit keeps this much of each side of its text area free.
constexpr int kLineEditSideMargin = 2;

class Walk {
public:
    Walk(QWidget& window, const QString& family) : window_(window), family_(family) {}

    void Everything()
    {
        for (QLabel* label : window_.findChildren<QLabel*>())
            Caption(*label, label->text(), label->contentsRect(), label->alignment());
        for (QPushButton* button : window_.findChildren<QPushButton*>())
            Button(*button);
        for (QMenuBar* bar : window_.findChildren<QMenuBar*>())
            MenuBar(*bar);
        for (QMenu* menu : window_.findChildren<QMenu*>())
            Menu(*menu);
        for (QListWidget* list : window_.findChildren<QListWidget*>())
            List(*list);
        for (QComboBox* box : window_.findChildren<QComboBox*>())
            Combo(*box);
        Overlaps(window_);
    }

    QStringList faults;
    int captions = 0;

private:
    static QString Name(const QObject& o)
    {
        return o.objectName().isEmpty() ? QString::fromLatin1(o.metaObject()->className())
                                        : o.objectName();
    }

    void Caption(const QWidget& control, const QString& text, const QRect& space, int flags)
    {
        ++captions;
        const QString family = QFontInfo(control.font()).family();
        if (!family_.isEmpty() && family != family_ &&
            (qobject_cast<const QLabel*>(&control) || qobject_cast<const QPushButton*>(&control)))
            faults << QStringLiteral("%1 \"%2\" is drawn in %3").arg(Name(control), text, family);
        const QSize need = control.fontMetrics().boundingRect(space, flags, text).size();
        if (need.width() > space.width() || need.height() > space.height())
            faults << QStringLiteral("%1 \"%2\" needs %3x%4 px, has %5x%6")
                          .arg(Name(control), text)
                          .arg(need.width()).arg(need.height())
                          .arg(space.width()).arg(space.height());
    }

    void Button(const QPushButton& button)
    {
        if (auto* wrapping = qobject_cast<const WrappingButton*>(&button)) {
            Caption(button, button.text(), wrapping->captionArea(), WrappingButton::kCaptionFlags);
            return;
        }
        QStyleOptionButton option;
        option.initFrom(&button);
        option.text = button.text();
        const QRect space = button.style()->subElementRect(QStyle::SE_PushButtonContents, &option,
                                                           &button);
        Caption(button, button.text(), space, Qt::AlignCenter | Qt::TextShowMnemonic);
    }

    void MenuBar(const QMenuBar& bar)
    {
        if (auto* more = bar.findChild<QToolButton*>(); more && more->isVisible())
            faults << Name(bar) + QStringLiteral(" hides items behind its extension button");
        for (QAction* action : bar.actions()) {
            const QRect item = bar.actionGeometry(action);
            if (!bar.rect().contains(item))
                faults << QStringLiteral("menu \"%1\" lies outside its bar").arg(action->text());
            Caption(bar, action->text(), item, Qt::AlignCenter | Qt::TextShowMnemonic);
        }
    }

    void Menu(const QMenu& menu)
    {
        for (QAction* action : menu.actions()) {
            if (!action->isSeparator())
                Caption(menu, action->text(), menu.actionGeometry(action),
                        Qt::AlignLeft | Qt::TextShowMnemonic);
        }
    }

    // A list scrolls sideways: an item is whole when it fits or can be scrolled to.
    void List(QListWidget& list)
    {
        list.doItemsLayout();
        const int reach = list.viewport()->width() +
                          (list.horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
                               ? 0 : list.horizontalScrollBar()->maximum());
        for (int i = 0; i < list.count(); ++i)
            Caption(list, list.item(i)->text(), QRect(0, 0, reach, list.viewport()->height()),
                    Qt::AlignLeft);
    }

    void Combo(const QComboBox& box)
    {
        const QWidget& field = box.lineEdit() ? static_cast<const QWidget&>(*box.lineEdit()) : box;
        const QRect space = field.contentsRect().adjusted(kLineEditSideMargin, 0,
                                                          -kLineEditSideMargin, 0);
        for (int i = 0; i < box.count(); ++i)
            Caption(box, box.itemText(i), space, Qt::AlignLeft);
        Caption(box, box.currentText(), space, Qt::AlignLeft);
    }

    // Within each widget, its visible controls lie inside it and apart from each other.
    void Overlaps(const QWidget& parent)
    {
        QList<const QWidget*> shown;
        for (const QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isWindow() || !child->isVisibleTo(&window_))
                continue;
            if (!parent.rect().contains(child->geometry()))
                faults << QStringLiteral("%1 reaches out of %2").arg(Name(*child), Name(parent));
            for (const QWidget* other : shown) {
                if (child->geometry().intersects(other->geometry()))
                    faults << QStringLiteral("%1 overlaps %2").arg(Name(*child), Name(*other));
            }
            shown << child;
            Overlaps(*child);
        }
    }

    QWidget& window_;
    const QString family_;
};

// The main window after its start-up; every other window is opened from it
// the way a user opens it.
class WindowCaptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Never a network request: the update check stops at the address.
        t.store.Write(QStringLiteral("updater"), QStringLiteral("url"), QStringLiteral("no-server"));
        // A stored device longer than any the system lists.
        t.store.Write(QStringLiteral("ports"), QStringLiteral("com2"),
                      QStringLiteral("/dev/serial/by-id/usb-Silicon_Labs_CP2102N_USB_to_UART_Bridge"
                                     "_Controller_5c3a1d2e9f84eb11b7c1a2d3e4f50617-if00-port0"));
        main.Form_Load();
        main.show();
    }

    // Checks the window, and saves its picture when asked to. A dialog that
    // lays itself out keeps the desktop's font.
    void Check(QWidget& window, const QString& name, bool fixedLayout = true)
    {
        QApplication::processEvents();
        Walk walk(window, fixedLayout ? qEnvironmentVariable("VMC_FONT_FAMILY") : QString());
        walk.Everything();
        EXPECT_GT(walk.captions, 0) << name.toStdString();
        EXPECT_EQ(walk.faults, QStringList()) << name.toStdString();
        const QString shots = qEnvironmentVariable("VMC_CAPTION_SHOTS");
        if (!shots.isEmpty())
            window.grab().save(shots + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    frmConfig_Midi& MidiSetup()
    {
        main.cmdConfigMidi->click();
        return *main.findChild<frmConfig_Midi*>();
    }

    TempSettings t;
    RecordingAlerts alerts;
    frmVornMidiConnector main{t.store, alerts};
};

TEST_F(WindowCaptionsTest, MainWindowAndMidiSetup)
{
    Check(main, QStringLiteral("main"));
    frmConfig_Midi& setup = MidiSetup();
    // A device name is at most 31 characters long.
    setup.findChild<QListWidget*>(QStringLiteral("lstInDevs"))->addItem(QString(31, QLatin1Char('W')));
    Check(setup, QStringLiteral("midi-setup"));
}

TEST_F(WindowCaptionsTest, KeyMapEditors)
{
    const struct {
        QAction* rigType;
        const char* editor;
    } rigs[] = {{main.mnuElecraft, "frmMap_Midi_Elecraft"}, {main.mnuFlex, "frmMap_Midi_Flex"}};
    for (const auto& rig : rigs) {
        rig.rigType->trigger();
        MidiSetup().findChild<QPushButton*>(QStringLiteral("cmdMapMidi"))->click();
        auto* editor = main.findChild<frmMap_Midi*>(QLatin1String(rig.editor));
        ASSERT_NE(editor, nullptr) << rig.editor;
        Check(*editor, QLatin1String(rig.editor));
    }
}

TEST_F(WindowCaptionsTest, UpdaterAndDevices)
{
    main.mnuUpdate->trigger();
    auto* updater = main.findChild<frmUpdater*>();
    ASSERT_NE(updater, nullptr);
    Check(*updater, QStringLiteral("updater"));

    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* devices = qobject_cast<PortDevicesDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(devices, nullptr);
        Check(*devices, QStringLiteral("devices"), false);
        checked = true;
        devices->reject();
    });
    main.mnuDevices->trigger();
    EXPECT_TRUE(checked);
}

} // namespace
