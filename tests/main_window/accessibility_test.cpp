// Every control a user can reach in the main window and the marker editor has
// a name a screen reader can speak, and no two text boxes share one.
#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSet>
#include <QtTest>

#include "core/state/comon_lib.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "gui/markers/frm_marker.h"
#include "tests/support/scripted_dialogs.h"

namespace orvenda {

class AccessibilityTest : public QObject {
    Q_OBJECT

    static QString spokenName(QWidget* widget) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        return face ? face->text(QAccessible::Name).trimmed() : QString();
    }

    static void checkWindow(QWidget* window) {
        QSet<QString> textBoxNames;
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                                 qobject_cast<QComboBox*>(widget);
            if (!control || widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty()) continue;
            if (qobject_cast<QComboBox*>(widget->parentWidget())) continue;  // the editable part of a drop-down list
            const QString name = spokenName(widget);
            QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName() + QStringLiteral(" has no accessible name")));
            if (qobject_cast<QLineEdit*>(widget)) {
                QVERIFY2(!textBoxNames.contains(name),
                         qPrintable(widget->objectName() + QStringLiteral(" shares its name: ") + name));
                textBoxNames.insert(name);
            }
        }
    }

    struct Announced {
        QAccessible::Role role;
        bool checkable;
        bool checked;
    };
    static Announced announced(QWidget* widget) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        if (!face) return {QAccessible::NoRole, false, false};
        return {face->role(), bool(face->state().checkable), bool(face->state().checked)};
    }

    // The option buttons of a group, as assistive tools see them: every one a
    // radio button whose announced state is its own; `selected` is the one
    // announced as checked (-1 when none is).
    static void checkGroup(QWidget* window, const char* group, int count, int selected) {
        for (int i = 0; i < count; ++i) {
            const QString name = QStringLiteral("%1_%2").arg(QLatin1String(group)).arg(i);
            auto* button = window->findChild<QAbstractButton*>(name);
            QVERIFY2(button, qPrintable(name));
            const Announced a = announced(button);
            QVERIFY2(a.role == QAccessible::RadioButton, qPrintable(name + QStringLiteral(" is not a radio button")));
            QVERIFY2(a.checkable, qPrintable(name));
            QCOMPARE(a.checked, button->isChecked());
            QVERIFY2(a.checked == (i == selected), qPrintable(name + QStringLiteral(" announced wrongly")));
        }
        QVERIFY2(!window->findChild<QAbstractButton*>(QStringLiteral("%1_%2").arg(QLatin1String(group)).arg(count)),
                 group);
    }

    static void click(QWidget* window, const char* name) {
        auto* button = window->findChild<QAbstractButton*>(QLatin1String(name));
        QVERIFY2(button && button->isEnabled(), name);
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
    }

private slots:
    // Each option group of the panel: radio buttons, exactly the selected one
    // announced as checked, at start and after the group reactions ran.
    void optionButtonsAreAnnouncedAsRadioButtons() {
        ComonLib state;
        testing::ScriptedDialogs dialogs;
        FrmHalvikWaveMain window(state, dialogs);
        window.show();
        const struct {
            const char* group;
            int count;
        } groups[] = {{"OptIQOutput", 2}, {"OptOutputSequence", 3}, {"OptGated", 2}, {"OptStartTrigger", 2},
                      {"OptLink", 2},     {"OptMark", 2},           {"OptIF", 2}};
        for (const auto& g : groups) checkGroup(&window, g.group, g.count, 0);
        // Check boxes stay check boxes.
        for (const char* name : {"ChkIQFilter", "ChkOutputSequence", "ChkMark1", "ChkIQInv"}) {
            auto* box = window.findChild<QAbstractButton*>(QLatin1String(name));
            QVERIFY2(box && announced(box).role == QAccessible::CheckBox, name);
        }

        // Link, Gated, then Internal: the trigger reaction clears "Gated" and
        // selects "Continuous"; Link again restores "Gated".
        click(&window, "ChkOutputSequence");
        click(&window, "OptStartTrigger_1");
        click(&window, "OptOutputSequence_2");
        click(&window, "OptLink_1");
        checkGroup(&window, "OptOutputSequence", 3, 2);
        checkGroup(&window, "OptLink", 2, 1);
        click(&window, "OptStartTrigger_0");
        checkGroup(&window, "OptStartTrigger", 2, 0);
        checkGroup(&window, "OptOutputSequence", 3, 0);
        click(&window, "OptStartTrigger_1");
        checkGroup(&window, "OptOutputSequence", 3, 2);
        // A click on the selected option changes nothing.
        click(&window, "OptOutputSequence_2");
        checkGroup(&window, "OptOutputSequence", 3, 2);
        // Groups sharing a frame do not clear each other.
        click(&window, "OptGated_1");
        checkGroup(&window, "OptGated", 2, 1);
        checkGroup(&window, "OptOutputSequence", 3, 2);
        click(&window, "OptIF_1");
        checkGroup(&window, "OptIF", 2, 1);
        // From the keyboard: Left from "Link" selects "Internal", with the
        // same reaction as a click.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* link = window.findChild<QAbstractButton*>(QStringLiteral("OptStartTrigger_1"));
        link->setFocus(Qt::TabFocusReason);
        QTest::keyClick(link, Qt::Key_Left);
        checkGroup(&window, "OptStartTrigger", 2, 0);
        checkGroup(&window, "OptOutputSequence", 3, 0);
        click(&window, "ChkMarkerMode");
        click(&window, "OptMark_1");
        checkGroup(&window, "OptMark", 2, 1);
        checkGroup(&window, "OptIQOutput", 2, 0);
    }

    void mainWindowControlsAreNamed() {
        ComonLib state;
        testing::ScriptedDialogs dialogs;
        FrmHalvikWaveMain window(state, dialogs);
        window.show();
        checkWindow(&window);
    }

    void markerEditorControlsAreNamed() {
        ComonLib state;
        testing::ScriptedDialogs dialogs;
        FrmHalvikWaveMain window(state, dialogs);
        window.findChild<QAction*>(QStringLiteral("MnuSetupMark"))->trigger();
        QVERIFY(window.markerEditor());
        checkWindow(window.markerEditor());
    }
};

}  // namespace orvenda

QTEST_MAIN(orvenda::AccessibilityTest)
#include "accessibility_test.moc"
