// The option group's reaction: selecting emits optionSelected once the
// other options are cleared, clearing from code runs nothing, and a click on
// the selected option changes nothing.
#include <QAccessible>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <vector>

#include "gui/settings/option_group.h"

using orvenda::settings::OptionGroup;

class OptionGroupTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        parent = std::make_unique<QWidget>();
        group = new OptionGroup(QStringLiteral("OptTest"),
                                {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, parent.get());
        auto* column = new QVBoxLayout(parent.get());
        for (int i = 0; i < group->count(); ++i) column->addWidget(group->button(i));
        seen.clear();
        connect(group, &OptionGroup::optionSelected, this, [this](int index) {
            QCOMPARE(group->selected(), index);
            seen.push_back(selectionSeen());
        });
        parent->show();
    }
    void cleanup() { parent.reset(); }

    void namesFollowTheGroup() {
        QCOMPARE(group->button(0)->objectName(), QStringLiteral("OptTest_0"));
        QCOMPARE(group->button(2)->objectName(), QStringLiteral("OptTest_2"));
        QCOMPARE(group->selected(), -1);
    }

    void selectingFromCodeRunsTheReactionOnceWithTheOthersCleared() {
        group->select(0);
        group->select(2);
        QCOMPARE(seen, (std::vector<QString>{QStringLiteral("100"), QStringLiteral("001")}));
        QCOMPARE(group->selected(), 2);
    }

    void selectingTheSelectedOptionRunsNothing() {
        group->select(1);
        group->select(1);
        QCOMPARE(seen.size(), std::size_t{1});
    }

    void clearingRunsNothingAndMayLeaveNoneSelected() {
        group->select(1);
        group->clear(1);
        QCOMPARE(group->selected(), -1);
        QCOMPARE(seen.size(), std::size_t{1});
    }

    void userClickSelectsAndRunsTheReaction() {
        group->select(0);
        QTest::mouseClick(group->button(1), Qt::LeftButton, Qt::NoModifier, QPoint(6, group->button(1)->height() / 2));
        QCOMPARE(group->selected(), 1);
        QCOMPARE(seen.back(), QStringLiteral("010"));
    }

    // A plain radio button without auto-exclusivity would clear itself here.
    void userClickOnTheSelectedOptionKeepsItAndRunsNothing() {
        group->select(2);
        QTest::mouseClick(group->button(2), Qt::LeftButton, Qt::NoModifier, QPoint(6, group->button(2)->height() / 2));
        QTest::keyClick(group->button(2), Qt::Key_Space);
        QCOMPARE(group->selected(), 2);
        QCOMPARE(seen.size(), std::size_t{1});
    }

    void disabledOptionIgnoresClicksButNotCode() {
        group->setOptionEnabled(1, false);
        QTest::mouseClick(group->button(1), Qt::LeftButton, Qt::NoModifier, QPoint(6, group->button(1)->height() / 2));
        QCOMPARE(group->selected(), -1);
        group->select(1);
        QCOMPARE(group->selected(), 1);
        QVERIFY(!group->button(1)->isEnabled());
        QCOMPARE(seen.size(), std::size_t{1});
    }

    // As in any radio group, an arrow key from the selected option selects
    // the next one (and runs the reaction); a disabled option is passed over.
    void arrowKeysSelectTheNextOption() {
        parent->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(parent.get()));
        group->select(0);
        group->button(0)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(group->button(0), Qt::Key_Down);
        QCOMPARE(group->selected(), 1);
        QCOMPARE(seen.back(), QStringLiteral("010"));
        group->setOptionEnabled(2, false);
        QTest::keyClick(group->button(1), Qt::Key_Down);
        QCOMPARE(group->selected(), 1);
        QTest::keyClick(group->button(1), Qt::Key_Up);
        QCOMPARE(group->selected(), 0);
        QCOMPARE(seen, (std::vector<QString>{QStringLiteral("100"), QStringLiteral("010"), QStringLiteral("100")}));
    }

    // The group is one Tab stop: its selected option, or the first enabled
    // one while none is selected or the selected one is disabled.
    void theTabStopFollowsTheSelection() {
        const auto stops = [this] {
            QString s;
            for (int i = 0; i < group->count(); ++i)
                s += (group->button(i)->focusPolicy() & Qt::TabFocus) ? QLatin1Char('1') : QLatin1Char('0');
            return s;
        };
        QCOMPARE(stops(), QStringLiteral("100"));
        group->select(2);
        QCOMPARE(stops(), QStringLiteral("001"));
        group->setOptionEnabled(2, false);
        QCOMPARE(stops(), QStringLiteral("100"));
        group->setOptionEnabled(0, false);
        QCOMPARE(stops(), QStringLiteral("010"));
        group->setAllEnabled(true);
        group->clear(2);
        QCOMPARE(stops(), QStringLiteral("100"));
    }

    // Assistive tools see radio buttons, also when all are cleared, and
    // a second group under the same parent widget is a group of its own.
    void announcedAsRadioButtonsOfTheirOwnGroup() {
        auto* other =
            new OptionGroup(QStringLiteral("OptOther"), {QStringLiteral("X"), QStringLiteral("Y")}, parent.get());
        group->select(1);
        other->select(0);
        QCOMPARE(group->selected(), 1);
        QCOMPARE(other->selected(), 0);
        group->clear(1);
        QCOMPARE(group->selected(), -1);
        QCOMPARE(other->selected(), 0);
        for (OptionGroup* g : {group, other}) {
            for (int i = 0; i < g->count(); ++i) {
                QAccessibleInterface* face = QAccessible::queryAccessibleInterface(g->button(i));
                QVERIFY(face);
                QCOMPARE(face->role(), QAccessible::RadioButton);
                QCOMPARE(bool(face->state().checked), g->isSelected(i));
            }
        }
    }

private:
    QString selectionSeen() const {
        QString s;
        for (int i = 0; i < group->count(); ++i) s += group->isSelected(i) ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }

    std::unique_ptr<QWidget> parent;
    OptionGroup* group = nullptr;
    std::vector<QString> seen;
};

QTEST_MAIN(OptionGroupTest)
#include "option_group_test.moc"
