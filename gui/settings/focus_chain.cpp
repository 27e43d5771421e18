#include "gui/settings/focus_chain.h"

#include <QAbstractButton>
#include <QWidget>

namespace orvenda::settings {
namespace {

// An option of a radio group belongs to the chain even while another option
// of its group holds the group's one Tab stop.
bool takesTabFocus(QWidget* window, QWidget* w) {
    const auto* option = qobject_cast<QAbstractButton*>(w);
    const bool radioOption = option && option->autoExclusive() && option->isCheckable();
    return ((w->focusPolicy() & Qt::TabFocus) || radioOption) && w->window() == window && w->isVisibleTo(window);
}

}  // namespace

QList<QWidget*> focusableControls(QWidget* window, const QList<QWidget*>& blocks) {
    QList<QWidget*> controls;
    // The focus chain is a ring over the whole window; the bound only guards
    // against a broken ring.
    const qsizetype bound = window->findChildren<QWidget*>().size() + 1;
    for (QWidget* block : blocks) {
        if (takesTabFocus(window, block)) controls << block;
        QWidget* w = block->nextInFocusChain();
        for (qsizetype steps = 0; w != block && steps < bound; ++steps, w = w->nextInFocusChain())
            if (block->isAncestorOf(w) && takesTabFocus(window, w)) controls << w;
    }
    return controls;
}

void chainFocus(QWidget* window, const QList<QWidget*>& blocks) {
    const QList<QWidget*> controls = focusableControls(window, blocks);
    for (qsizetype i = 1; i < controls.size(); ++i) QWidget::setTabOrder(controls.at(i - 1), controls.at(i));
}

}  // namespace orvenda::settings
