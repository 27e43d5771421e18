#include "gui/settings/option_group.h"

namespace orvenda::settings {

void OptionButton::nextCheckState() {
    if (!isChecked())
        setChecked(true);
}

OptionGroup::OptionGroup(const QString& name, const QStringList& captions, QWidget* parent)
    : QObject(parent) {
    setObjectName(name);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new OptionButton(captions.at(i), parent);
        button->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i));
        button->setAutoExclusive(false);
        connect(button, &QAbstractButton::toggled, this, [this, i](bool on) { onToggled(i, on); });
        buttons_.push_back(button);
    }
}

int OptionGroup::selected() const {
    for (int i = 0; i < count(); ++i)
        if (isSelected(i))
            return i;
    return -1;
}

void OptionGroup::select(int index) { button(index)->setChecked(true); }

void OptionGroup::clear(int index) { button(index)->setChecked(false); }

void OptionGroup::setOptionEnabled(int index, bool enabled) { button(index)->setEnabled(enabled); }

void OptionGroup::setAllEnabled(bool enabled) {
    for (OptionButton* button : buttons_)
        button->setEnabled(enabled);
}

void OptionGroup::onToggled(int index, bool on) {
    if (!on)
        return;  // a cleared option runs nothing
    for (int i = 0; i < count(); ++i) {
        if (i != index && isSelected(i))
            button(i)->setChecked(false);  // its toggled(false) runs nothing
    }
    emit optionSelected(index);
}

}  // namespace orvenda::settings
