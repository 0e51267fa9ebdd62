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
#include <gtest/gtest.h>

namespace {

constexpr int kOneLine = Qt::TextShowMnemonic;
// QLineEdit keeps this much of each side of its text area free.
constexpr int kLineEditSideMargin = 2;

// Walks one window; `family` (when not empty) is the font family its labels
// and buttons must be drawn in.
class Walk {
public:
    Walk(const QWidget& window, const QString& family) : window_(window), family_(family)
    {
        for (QLabel* label : window.findChildren<QLabel*>())
            Caption(*label, label->text(), label->contentsRect(), label->alignment(), true);
        for (QPushButton* button : window.findChildren<QPushButton*>())
            Button(*button);
        for (QMenuBar* bar : window.findChildren<QMenuBar*>())
            MenuBar(*bar);
        for (QListWidget* list : window.findChildren<QListWidget*>())
            List(*list);
        for (QComboBox* box : window.findChildren<QComboBox*>())
            Combo(*box);
        Overlaps(window);
    }

    QStringList faults;
    int captions = 0;

private:
    static QString Name(const QObject& o)
    {
        return o.objectName().isEmpty() ? QLatin1String(o.metaObject()->className()) : o.objectName();
    }

    void Caption(const QWidget& control, const QString& text, const QRect& space, int flags,
                 bool formFont = false)
    {
        ++captions;
        const QString family = QFontInfo(control.font()).family();
        if (formFont && !family_.isEmpty() && family != family_)
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
            Caption(button, button.text(), wrapping->captionArea(), WrappingButton::kCaptionFlags,
                    true);
            return;
        }
        QStyleOptionButton option;
        option.initFrom(&button);
        option.text = button.text();
        Caption(button, button.text(),
                button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button),
                kOneLine, true);
    }

    // A menu bar too narrow for its menus puts the last ones outside itself.
    void MenuBar(const QMenuBar& bar)
    {
        Items(bar, bar.rect());
        for (QAction* title : bar.actions()) {
            if (const QMenu* menu = title->menu())
                Items(*menu, QRect(QPoint(), menu->sizeHint()));
        }
    }

    template <class Menu>
    void Items(const Menu& menu, const QRect& area)
    {
        for (QAction* action : menu.actions()) {
            const QRect item = menu.actionGeometry(action);
            if (!area.contains(item))
                faults << QStringLiteral("\"%1\" lies outside its menu").arg(action->text());
            if (!action->isSeparator())
                Caption(menu, action->text(), item, kOneLine);
        }
    }

    // A list scrolls sideways: an item is whole when it fits or can be scrolled to.
    void List(QListWidget& list)
    {
        list.doItemsLayout();
        const bool scrolls = list.horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
        const QRect reach(0, 0, list.viewport()->width() +
                                    (scrolls ? list.horizontalScrollBar()->maximum() : 0),
                          list.viewport()->height());
        for (int i = 0; i < list.count(); ++i)
            Caption(list, list.item(i)->text(), reach, kOneLine);
    }

    void Combo(const QComboBox& box)
    {
        const QRect field = (box.lineEdit() ? box.lineEdit()->contentsRect() : box.contentsRect())
                                .adjusted(kLineEditSideMargin, 0, -kLineEditSideMargin, 0);
        for (int i = 0; i < box.count(); ++i)
            Caption(box, box.itemText(i), field, kOneLine);
        Caption(box, box.currentText(), field, kOneLine);
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

    const QWidget& window_;
    const QString family_;
};

// Checks the window, and saves its picture when asked to. A dialog that lays
// itself out keeps the desktop's font.
void Check(QWidget& window, const QString& name, bool fixedLayout = true)
{
    QApplication::processEvents();
    const Walk walk(window, fixedLayout ? qEnvironmentVariable("VMC_FONT_FAMILY") : QString());
    EXPECT_GT(walk.captions, 0) << name.toStdString();
    EXPECT_EQ(walk.faults, QStringList()) << name.toStdString();
    if (const QString shots = qEnvironmentVariable("VMC_CAPTION_SHOTS"); !shots.isEmpty())
        window.grab().save(shots + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Every window, opened from the started main window the way a user opens it.
TEST(WindowCaptions, EveryWindow)
{
    TempSettings t;
    RecordingAlerts alerts;
    // Never a network request: the update check stops at the address.
    t.store.Write(QStringLiteral("updater"), QStringLiteral("url"), QStringLiteral("no-server"));
    // A stored device longer than any the system lists.
    t.store.Write(QStringLiteral("ports"), QStringLiteral("com2"),
                  QStringLiteral("/dev/serial/by-id/usb-Silicon_Labs_CP2102N_USB_to_UART_Bridge"
                                 "_Controller_5c3a1d2e9f84eb11b7c1a2d3e4f50617-if00-port0"));
    frmVornMidiConnector main(t.store, alerts);
    main.Form_Load();
    main.show();
    Check(main, QStringLiteral("main"));

    main.cmdConfigMidi->click();
    auto* setup = main.findChild<frmConfig_Midi*>();
    ASSERT_NE(setup, nullptr);
    // A device name is at most 31 characters long.
    setup->findChild<QListWidget*>(QStringLiteral("lstInDevs"))->addItem(QString(31, QLatin1Char('W')));
    Check(*setup, QStringLiteral("midi-setup"));

    for (QAction* rigType : {main.mnuElecraft, main.mnuFlex}) {
        rigType->trigger();
        setup->findChild<QPushButton*>(QStringLiteral("cmdMapMidi"))->click();
        frmMap_Midi* editor = nullptr;
        for (frmMap_Midi* open : main.findChildren<frmMap_Midi*>())
            editor = open->isVisible() ? open : editor;
        ASSERT_NE(editor, nullptr) << rigType->text().toStdString();
        Check(*editor, editor->objectName());
        editor->close();
    }

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
