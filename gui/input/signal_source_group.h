// The "Signal Source " group: file type, the load commands for every input
// layout, the file names and counts shown, and "Specify Data Size".
#ifndef ORVENDA_GUI_INPUT_SIGNAL_SOURCE_GROUP_H
#define ORVENDA_GUI_INPUT_SIGNAL_SOURCE_GROUP_H

#include <QGroupBox>

#include "input/loaded_input.h"

namespace orvenda {
class UserDialogs;
}

namespace orvenda::input {

class SignalSourceGroup : public QGroupBox {
    Q_OBJECT
public:
    SignalSourceGroup(LoadedInput& state, UserDialogs& dialogs, QWidget* parent = nullptr);

    // The five load commands (menu items and the Load buttons).
    void loadIText();
    void loadQText();
    void loadIQText();
    void loadBinaryShort();
    void loadBinaryFloat();

    // True while a load reads its file; other loads and the transforms wait.
    bool isLoading() const;
    // "Specify Data Size" and the size typed into the I count box.
    bool specifyDataSize() const;
    QString dataSizeText() const;

signals:
    void loadingChanged(bool loading);

private:
    LoadedInput& state_;
    UserDialogs& dialogs_;
};

}  // namespace orvenda::input

#endif
