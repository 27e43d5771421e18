#include "settings/focus_chain.h"

#include <QWidget>

namespace orvenda::settings {
namespace {

bool takesTabFocus(QWidget* window, QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) && w->window() == window && w->isVisibleTo(window);
}

}  // namespace

QList<QWidget*> focusableControls(QWidget* window, const QList<QWidget*>& blocks) {
    QList<QWidget*> controls;
    for (QWidget* block : blocks) {
        if (takesTabFocus(window, block))
            controls << block;
        // Depth first, each parent before its children, in creation order.
        for (QWidget* w : block->findChildren<QWidget*>())
            if (takesTabFocus(window, w))
                controls << w;
    }
    return controls;
}

void chainFocus(QWidget* window, const QList<QWidget*>& blocks) {
    const QList<QWidget*> controls = focusableControls(window, blocks);
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls.at(i - 1), controls.at(i));
}

}  // namespace orvenda::settings
