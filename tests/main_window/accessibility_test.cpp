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
            if (!control || widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty())
                continue;
            if (qobject_cast<QComboBox*>(widget->parentWidget()))
                continue;  // the editable part of a drop-down list
            const QString name = spokenName(widget);
            QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName() + QStringLiteral(" has no accessible name")));
            if (qobject_cast<QLineEdit*>(widget)) {
                QVERIFY2(!textBoxNames.contains(name),
                         qPrintable(widget->objectName() + QStringLiteral(" shares its name: ") + name));
                textBoxNames.insert(name);
            }
        }
    }

private slots:
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
