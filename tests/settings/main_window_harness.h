// The real main window under test, with helpers that act as a user would:
// mouse clicks on a button's indicator, typed keys and Enter in a text box.
#ifndef ORVENDA_TESTS_SETTINGS_MAIN_WINDOW_HARNESS_H
#define ORVENDA_TESTS_SETTINGS_MAIN_WINDOW_HARNESS_H

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "core/state/comon_lib.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "gui/settings/settings_panel.h"
#include "tests/support/scripted_dialogs.h"

namespace orvenda::testing {

// Every button a user can click in the panel.
inline const char* const kPanelButtons[] = {
    "ChkIQFilter",
    "ChkIQInv",
    "ChkIQOffset",
    "ChkIQOffsetLock",
    "ChkIQOutput",
    "OptIQOutput_0",
    "OptIQOutput_1",
    "ChkIQOutputLock",
    "ChkOutputSequence",
    "OptOutputSequence_0",
    "OptOutputSequence_1",
    "OptOutputSequence_2",
    "OptGated_0",
    "OptGated_1",
    "ChkStartTrigger",
    "OptStartTrigger_0",
    "OptStartTrigger_1",
    "OptLink_0",
    "OptLink_1",
    "ChkMarkerMode",
    "OptMark_0",
    "OptMark_1",
    "ChkMark1",
    "ChkMark2",
    "OptIF_0",
    "OptIF_1",
};

class MainWindowHarness {
public:
    MainWindowHarness() : window(state, dialogs) {
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
    }

    ComonLib state;
    ScriptedDialogs dialogs;
    FrmHalvikWaveMain window;
    bool exposed = false;

    template <typename T = QWidget>
    T* control(const QString& name) const {
        T* found = window.findChild<T*>(name);
        if (!found) qFatal("no control named %s", qPrintable(name));
        return found;
    }
    QAbstractButton* button(const QString& name) const { return control<QAbstractButton>(name); }
    QLineEdit* textBox(const QString& name) const { return control<QLineEdit>(name); }
    settings::SettingsPanel& panel() const {
        return *control<settings::SettingsPanel>(QStringLiteral("SettingsPanel"));
    }

    bool checked(const QString& name) const { return button(name)->isChecked(); }
    bool enabled(const QString& name) const { return control(name)->isEnabled(); }
    QString text(const QString& name) const { return textBox(name)->text(); }

    // A left click on the check mark or the option circle, where a user
    // clicks; a disabled button ignores it.
    void click(const QString& name) const {
        QAbstractButton* b = button(name);
        QStyleOptionButton option;
        option.initFrom(b);
        const bool radio = qobject_cast<QRadioButton*>(b) != nullptr;
        const QRect indicator = b->style()->subElementRect(
            radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, b);
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, indicator.center());
    }

    // Click into the field, select all, type, and press `key` (Enter unless told).
    void type(const QString& name, const QString& typed, Qt::Key key = Qt::Key_Return) const {
        QLineEdit* box = textBox(name);
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, key);
    }
};

}  // namespace orvenda::testing

#endif
