// Shared by the window tests: the real main window with scripted dialogs,
// and short ways to reach its controls by their names.
#ifndef ORVENDA_TESTS_MAIN_WINDOW_WINDOW_TEST_SUPPORT_H
#define ORVENDA_TESTS_MAIN_WINDOW_WINDOW_TEST_SUPPORT_H

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "core/state/comon_lib.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "gui/main_window/transform_commands.h"
#include "tests/support/scripted_dialogs.h"

namespace orvenda::testing {

struct WindowUnderTest {
    ComonLib state;
    ScriptedDialogs dialogs;
    std::unique_ptr<FrmHalvikWaveMain> window;

    WindowUnderTest() : window(std::make_unique<FrmHalvikWaveMain>(state, dialogs)) { window->show(); }

    template <typename T>
    T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) const { return find<QAction>(name); }
    TransformCommands* transforms() const { return window->findChild<TransformCommands*>(); }

    // Types into a text box as the user would, without pressing Enter.
    void type(const char* box, const QString& text) const {
        QLineEdit* edit = find<QLineEdit>(box);
        QVERIFY2(edit, box);
        edit->setText(text);
    }
    // Clicks a control (check box, option, button) when its state differs.
    // QAbstractButton::click() runs what a user's click runs; synthesised mouse
    // clicks on neighbouring widgets of one size can be taken as double clicks.
    void setChecked(const char* name, bool on) const {
        auto* button = find<QAbstractButton>(name);
        QVERIFY2(button, name);
        if (button->isChecked() != on) button->click();
        QVERIFY2(button->isChecked() == on, name);
    }
    void click(const char* name) const {
        auto* button = find<QAbstractButton>(name);
        QVERIFY2(button, name);
        QVERIFY2(button->isEnabled(), name);
        button->click();
    }
};

}  // namespace orvenda::testing

#endif
