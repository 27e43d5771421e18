// The "Signal Source " group: file type, the load commands for every input
// layout, the file names and counts shown, and "Specify Data Size".
#ifndef ORVENDA_GUI_INPUT_SIGNAL_SOURCE_GROUP_H
#define ORVENDA_GUI_INPUT_SIGNAL_SOURCE_GROUP_H

#include <QGroupBox>

#include <optional>

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

    // A load in two steps, for tools that find the file themselves (a
    // recording whose samples are first made ready): startLoad selects the
    // command's file type and takes "Specify Data Size" (nothing when
    // another load runs or the size is refused, after saying why);
    // finishLoad reads `path` with every rule of the command, showing and
    // naming `shownPath`; abandonLoad ends a load that read nothing, leaving
    // everything as before.
    struct LoadStart {
        LoadCommand command = LoadCommand::BinaryFloat;
        bool sizeSpecified = false;
        int32_t dataSizeBefore = 0;
        int64_t recordLimit = 0;
    };
    std::optional<LoadStart> startLoad(LoadCommand command);
    bool finishLoad(const LoadStart& start, const QString& path, const QString& shownPath);
    void abandonLoad(const LoadStart& start);

signals:
    void loadingChanged(bool loading);
    // A load replaced the loaded input.
    void inputLoaded();

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
