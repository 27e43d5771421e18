// The "Signal Source " group: file type, the load commands for every input
// layout, the file names and counts shown, and "Specify Data Size".
#ifndef ORVENDA_GUI_INPUT_SIGNAL_SOURCE_GROUP_H
#define ORVENDA_GUI_INPUT_SIGNAL_SOURCE_GROUP_H

#include <QGroupBox>

#include "core/input/load_commands.h"
#include "core/input/loaded_input.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

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
    struct Texts {
        QString fileNameI, fileNameQ, countI, countQ;
    };

    void buildControls();
    void run(LoadCommand command);
    // Selects the type in the list and applies it, also when it was selected.
    void selectFileType(int32_t type);
    void applyFileType(int32_t type);
    void setLoading(bool loading);
    Texts texts() const;
    void restoreTexts(const Texts& texts);
    void applyTexts(const DisplayTexts& texts);

    LoadedInput& state_;
    UserDialogs& dialogs_;
    bool loading_ = false;
    QComboBox* fileType_ = nullptr;
    QPushButton* loadI_ = nullptr;
    QPushButton* loadQ_ = nullptr;
    QLineEdit* fileNameI_ = nullptr;
    QLineEdit* fileNameQ_ = nullptr;
    QLineEdit* countI_ = nullptr;
    QLineEdit* countQ_ = nullptr;
    QLabel* countQLabel_ = nullptr;
    QCheckBox* specifySize_ = nullptr;
};

}  // namespace orvenda::input

#endif
