#include "gui/settings/option_group.h"

#include <QKeyEvent>

namespace orvenda::settings {

void OptionButton::nextCheckState() {
    if (!isChecked()) setChecked(true);
}

// Up and Left go to the previous option, Down and Right to the next.
void OptionButton::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    int step = 0;
    if (key == Qt::Key_Up || key == Qt::Key_Left)
        step = -1;
    else if (key == Qt::Key_Down || key == Qt::Key_Right)
        step = 1;
    if (step == 0 || group() == nullptr) {
        QRadioButton::keyPressEvent(event);
        return;
    }
    const QList<QAbstractButton*> members = group()->buttons();  // in index order
    for (qsizetype k = members.indexOf(this) + step; k >= 0 && k < members.size(); k += step) {
        QAbstractButton* next = members.at(k);
        if (!next->isEnabled() || next->isHidden()) continue;
        const bool select = isChecked();
        next->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        if (select) next->click();
        return;
    }
    event->ignore();  // no enabled option that way
}

OptionGroup::OptionGroup(const QString& name, const QStringList& captions, QWidget* parent)
    : QObject(parent), members_(new QButtonGroup(this)) {
    setObjectName(name);
    members_->setExclusive(false);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new OptionButton(captions.at(i), parent);
        button->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i));
        button->setAutoExclusive(true);  // announced as a radio button
        members_->addButton(button, i);
        connect(button, &QAbstractButton::toggled, this, [this, i](bool on) { onToggled(i, on); });
        buttons_.push_back(button);
    }
    updateTabStop();
}

int OptionGroup::selected() const {
    for (int i = 0; i < count(); ++i)
        if (isSelected(i)) return i;
    return -1;
}

void OptionGroup::select(int index) { button(index)->setChecked(true); }

void OptionGroup::clear(int index) { button(index)->setChecked(false); }

void OptionGroup::setOptionEnabled(int index, bool enabled) {
    button(index)->setEnabled(enabled);
    updateTabStop();
}

void OptionGroup::setAllEnabled(bool enabled) {
    for (OptionButton* button : buttons_) button->setEnabled(enabled);
    updateTabStop();
}

void OptionGroup::updateTabStop() {
    int stop = selected();
    if (stop < 0 || !button(stop)->isEnabled()) {
        stop = -1;
        for (int i = 0; i < count() && stop < 0; ++i)
            if (button(i)->isEnabled()) stop = i;
    }
    for (int i = 0; i < count(); ++i) {
        const Qt::FocusPolicy policy = button(i)->focusPolicy();
        button(i)->setFocusPolicy(i == stop ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                            : Qt::FocusPolicy(policy & ~Qt::TabFocus));
    }
}

void OptionGroup::onToggled(int index, bool on) {
    updateTabStop();
    if (!on) return;  // a cleared option runs nothing
    for (int i = 0; i < count(); ++i) {
        if (i != index && isSelected(i)) button(i)->setChecked(false);  // its toggled(false) runs nothing
    }
    emit optionSelected(index);
}

}  // namespace orvenda::settings
