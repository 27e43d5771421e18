// Every file dialog and message box of the program goes through this small
// interface, so that tests can answer them.
#ifndef ORVENDA_GUI_MAIN_WINDOW_USER_DIALOGS_H
#define ORVENDA_GUI_MAIN_WINDOW_USER_DIALOGS_H

#include <QString>

class QWidget;

namespace orvenda {

// The program's name, used as the caption of messages that have none of their own.
inline const char kProgramName[] = "Orvenda";

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // `filter` is a list of description and pattern pairs separated by "|",
    // for example "data files(*.dat)|*.dat|all files(*.*)|*.*"; the first
    // pair is offered first. The result is the full path, empty when cancelled.
    virtual QString openFile(QWidget* parent, const QString& title, const QString& filter) = 0;
    // Save dialog: asks before replacing an existing file; adds no extension.
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& filter) = 0;
    // A message with an OK button only.
    virtual void message(QWidget* parent, const QString& text, const QString& caption) = 0;
};

// The real dialogs of the desktop.
class QtUserDialogs final : public UserDialogs {
public:
    QString openFile(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& filter) override;
    void message(QWidget* parent, const QString& text, const QString& caption) override;
};

// "desc(*.x)|*.x|..." becomes Qt's "desc(*.x);;..." list.
QString toQtFileFilter(const QString& pipeSeparatedFilter);

}  // namespace orvenda

#endif
