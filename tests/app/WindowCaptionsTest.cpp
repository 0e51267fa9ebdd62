// Every caption of every window fits the space its control gives it, and no
// two controls overlap. CTest runs this twice, each time through a fontconfig
// file of its own: with the Liberation fonts (Arial's metrics, for which the
// windows are laid out) and with DejaVu only (wider). VMC_FONT_FAMILY names
// the family the labels and buttons of the fixed-layout windows must be drawn
// in; VMC_CAPTION_SHOTS=<folder> saves a picture of each window there.
// (Menus size themselves to their items; only the bar can be too narrow.)
#include "app/PortDevicesDialog.h"
#include "hamlib/HamlibModelDialog.h"
#include "app/MainWindow.h"
#include "mapedit/KeyMapEditor.h"
#include "midi/MidiSetupWindow.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"
#include "update/UpdateWindow.h"
#include "widgets/WrappingButton.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

constexpr int kOneLine = Qt::TextShowMnemonic;

QString Name(const QObject& o) { return o.objectName().isEmpty() ? o.metaObject()->className() : o.objectName(); }

// Checks the window, and saves its picture when asked to. A dialog that lays
// itself out keeps the desktop's font: only a fixed-layout window's labels and
// buttons must be drawn in VMC_FONT_FAMILY.
void Check(QWidget& window, const QString& name, bool fixedLayout = true)
{
    QApplication::processEvents();
    const QString family = fixedLayout ? qEnvironmentVariable("VMC_FONT_FAMILY") : QString();
    QStringList faults;
    int captions = 0;
    const auto caption = [&](const QWidget& control, const QString& text, const QRect& space, int flags,
                             bool formFont = false) {
        ++captions;
        const QString drawnIn = QFontInfo(control.font()).family();
        if (formFont && !family.isEmpty() && drawnIn != family)
            faults << QStringLiteral("%1 \"%2\" is drawn in %3").arg(Name(control), text, drawnIn);
        const QSize need = control.fontMetrics().boundingRect(space, flags, text).size();
        if (need.width() > space.width() || need.height() > space.height())
            faults << QStringLiteral("%1 \"%2\" needs %3x%4 px, has %5x%6").arg(Name(control), text)
                          .arg(need.width()).arg(need.height()).arg(space.width()).arg(space.height());
    };
    // A label with a buddy shows its "&" as an underline.
    for (QLabel* label : window.findChildren<QLabel*>())
        caption(*label, label->text(), label->contentsRect(),
                int(label->alignment()) | (label->buddy() ? kOneLine : 0), true);
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        const auto* wrapping = qobject_cast<const WrappingButton*>(button);
        caption(*button, button->text(), wrapping ? wrapping->captionArea()
                : button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button),
                wrapping ? WrappingButton::kCaptionFlags : kOneLine, true);
    }
    // A menu bar too narrow for its menus puts the last ones outside itself.
    for (QMenuBar* bar : window.findChildren<QMenuBar*>())
        for (QAction* title : bar->actions())
            if (!bar->rect().contains(bar->actionGeometry(title)))
                faults << QStringLiteral("\"%1\" lies outside its menu bar").arg(title->text());
    // A list scrolls sideways: an item is whole when it fits or can be scrolled to.
    for (QListWidget* list : window.findChildren<QListWidget*>()) {
        list->doItemsLayout();
        const int scroll = list->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff ? 0 : list->horizontalScrollBar()->maximum();
        const QRect reach(0, 0, list->viewport()->width() + scroll, list->viewport()->height());
        for (int i = 0; i < list->count(); ++i)
            caption(*list, list->item(i)->text(), reach, kOneLine);
    }
    // A combo box's text, and each of its items, fit its field (QLineEdit keeps 2 px of each side free).
    for (QComboBox* box : window.findChildren<QComboBox*>()) {
        const QRect field = (box->lineEdit() ? box->lineEdit()->contentsRect() : box->contentsRect()).adjusted(2, 0, -2, 0);
        for (int i = -1; i < box->count(); ++i)
            caption(*box, i < 0 ? box->currentText() : box->itemText(i), field, kOneLine);
    }
    // Within each widget, its visible controls lie inside it and apart from each other.
    const std::function<void(const QWidget&)> overlaps = [&](const QWidget& parent) {
        QList<const QWidget*> shown;
        for (const QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isWindow() || !child->isVisibleTo(&window))
                continue;
            if (!parent.rect().contains(child->geometry()))
                faults << QStringLiteral("%1 reaches out of %2").arg(Name(*child), Name(parent));
            for (const QWidget* other : shown)
                if (child->geometry().intersects(other->geometry()))
                    faults << QStringLiteral("%1 overlaps %2").arg(Name(*child), Name(*other));
            shown << child;
            overlaps(*child);
        }
    };
    overlaps(window);
    // No caption at all: the walk found nothing to check.
    EXPECT_TRUE(captions > 0 && faults.isEmpty()) << name.toStdString() << ": " << faults.join('\n').toStdString();
    if (const QString shots = qEnvironmentVariable("VMC_CAPTION_SHOTS"); !shots.isEmpty())
        window.grab().save(shots + '/' + name + ".png");
}

// Every window, opened from the started main window the way a user opens it.
TEST(WindowCaptions, EveryWindow)
{
    TempSettings t;
    RecordingAlerts alerts;
    // Never a network request: the update check stops at the address.
    t.store.Write("updater", "url", "no-server");
    // A stored device longer than any the system lists.
    t.store.Write("ports", "com2", "/dev/serial/by-id/usb-Silicon_Labs_CP2102N_USB_to_UART_Bridge"
                                   "_Controller_5c3a1d2e9f84eb11b7c1a2d3e4f50617-if00-port0");
    MainWindow main(t.store, alerts);
    main.Start();
    main.show();
    Check(main, "main");

    MidiSetupWindow* setup = main.PressMidiSetup();
    ASSERT_NE(setup, nullptr);
    // A device name is at most 31 characters long.
    setup->findChild<QListWidget*>()->addItem(QString(31, 'W'));
    Check(*setup, "midi-setup");

    for (const RigTypes::Info& rig : RigTypes::All()) {
        main.Menus().ChooseRigType(rig.type);
        if (auto* hamlib = main.findChild<HamlibModelDialog*>()) {
            Check(*hamlib, "hamlib-radio", false);
            ASSERT_TRUE(hamlib->ChooseModel(1));
            hamlib->accept();
        }
        setup->ShowKeyMap();
        auto* editor = main.findChild<KeyMapEditor*>("keyMapEditor" + rig.name);
        ASSERT_NE(editor, nullptr) << rig.name.toStdString();
        Check(*editor, "key-map-" + rig.settingsValue);
    }

    main.Menus().Choose(MainMenus::Command::Update);
    auto* updater = main.findChild<UpdateWindow*>();
    ASSERT_NE(updater, nullptr);
    Check(*updater, "updater");

    QTimer::singleShot(0, [&] {
        auto* devices = qobject_cast<PortDevicesDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(devices, nullptr) << "the devices dialog did not open";
        Check(*devices, "devices", false);
        devices->reject();
    });
    main.Menus().Choose(MainMenus::Command::Devices);
    QApplication::processEvents();  // runs the check when no dialog opened, too
}
