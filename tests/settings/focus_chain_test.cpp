// Focus chained block by block: blocks in the order given, each block's
// controls in its own focus order, hidden and disabled ones handled as Tab does.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "gui/settings/focus_chain.h"

using orvenda::settings::chainFocus;
using orvenda::settings::focusableControls;

class FocusChainTest : public QObject {
    Q_OBJECT
private slots:
    void blocksInTheGivenOrderEachInItsOwnOrder() {
        QWidget window;
        auto* column = new QVBoxLayout(&window);
        // Created first, laid out last.
        auto* late = new QWidget(&window);
        auto* lateEdit = named<QLineEdit>("lateEdit", late);
        // Created in one order, chained by the block in another.
        auto* early = new QWidget(&window);
        auto* second = named<QPushButton>("second", early);
        auto* first = named<QLineEdit>("first", early);
        auto* hidden = named<QCheckBox>("hidden", early);
        hidden->hide();
        QWidget::setTabOrder(first, second);
        auto* button = named<QPushButton>("button", &window);
        for (QWidget* w : {early, late, static_cast<QWidget*>(button)}) column->addWidget(w);
        new QVBoxLayout(early);
        early->layout()->addWidget(first);
        early->layout()->addWidget(second);
        (new QVBoxLayout(late))->addWidget(lateEdit);

        QCOMPARE(names(focusableControls(&window, {early, late, button})),
                 QStringList({"first", "second", "lateEdit", "button"}));

        chainFocus(&window, {early, late, button});
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        second->setDisabled(true);  // Tab passes over it
        first->setFocus(Qt::TabFocusReason);
        QStringList walked{first->objectName()};
        for (int i = 0; i < 2; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(walked, QStringList({"first", "lateEdit", "button"}));
    }

private:
    template <typename T>
    static T* named(const char* name, QWidget* parent) {
        auto* w = new T(parent);
        w->setObjectName(QString::fromLatin1(name));
        return w;
    }
    static QStringList names(const QList<QWidget*>& widgets) {
        QStringList list;
        for (QWidget* w : widgets) list << w->objectName();
        return list;
    }
};

QTEST_MAIN(FocusChainTest)
#include "focus_chain_test.moc"
