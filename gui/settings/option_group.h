// An option-button group with the semantics of the settings logic: indexes
// from 0, at most one option selected, options can all be cleared, and
//   - selecting an option (by the user or from code) emits optionSelected,
//     the group's click reaction, when the selection changes;
//   - clearing an option from code runs nothing;
//   - clicking the option that is already selected changes nothing.
// Qt's own exclusive groups cannot be all cleared, so exclusivity is kept
// here: each button reacts to toggled(true) by clearing the others before
// the reaction runs. Yet assistive tools must hear radio buttons, and Qt
// announces a checkable button that is not auto-exclusive as a check box:
// the buttons are auto-exclusive, and a non-exclusive QButtonGroup names the
// group's members, so Qt neither refuses a clear nor mixes groups that share
// a parent widget. The keyboard works as in any radio group: the group is
// one Tab stop, at its selected option (or its first enabled one), and the
// arrow keys move to the next enabled option, selecting it when the option
// left was the selected one.
#ifndef ORVENDA_GUI_SETTINGS_OPTION_GROUP_H
#define ORVENDA_GUI_SETTINGS_OPTION_GROUP_H

#include <QButtonGroup>
#include <QObject>
#include <QRadioButton>
#include <QString>
#include <vector>

namespace orvenda::settings {

// A radio button that a click only ever selects, never clears.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent* event) override;
};

class OptionGroup : public QObject {
    Q_OBJECT
public:
    // Options are named "<name>_<index>" (OptIQOutput_0, OptIQOutput_1, ...).
    OptionGroup(const QString& name, const QStringList& captions, QWidget* parent);

    int count() const { return static_cast<int>(buttons_.size()); }
    OptionButton* button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
    // Index of the selected option, -1 when none is.
    int selected() const;
    bool isSelected(int index) const { return button(index)->isChecked(); }

    // Selects option `index`; the reaction runs if the selection changed.
    void select(int index);
    // Clears option `index`; nothing runs.
    void clear(int index);
    void setOptionEnabled(int index, bool enabled);
    void setAllEnabled(bool enabled);

signals:
    // An option became the selected one (the group's click reaction). The
    // others are already cleared when it is emitted.
    void optionSelected(int index);

private:
    void onToggled(int index, bool on);
    // Gives Tab focus to the selected option only (the first enabled one
    // when none is selected or it is disabled).
    void updateTabStop();

    QButtonGroup* members_;
    std::vector<OptionButton*> buttons_;
};

}  // namespace orvenda::settings

#endif
