#include "gui/input/signal_source_group.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

#include "core/input/scan_error_text.h"
#include "core/input/scanner.h"
#include "core/input/size_rules.h"
#include "core/settings/numeric_entry.h"
#include "gui/common/busy_pointer.h"
#include "gui/common/user_dialogs.h"

namespace orvenda::input {
namespace {

QLineEdit* makeBox(const char* name, bool readOnly, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(readOnly);
    return box;
}

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

SignalSourceGroup::SignalSourceGroup(LoadedInput& state, UserDialogs& dialogs, QWidget* parent)
    : QGroupBox(QStringLiteral("Signal Source "), parent), state_(state), dialogs_(dialogs) {
    buildControls();
    applyFileType(0);
}

void SignalSourceGroup::buildControls() {
    auto* typeLabel = new QLabel(QStringLiteral("File Type"), this);
    typeLabel->setObjectName(QStringLiteral("Lbl_FileType"));
    fileType_ = new QComboBox(this);
    fileType_->setObjectName(QStringLiteral("CmbSelFileType"));
    for (const char* item : kFileTypeItems) fileType_->addItem(QString::fromLatin1(item));
    typeLabel->setBuddy(fileType_);

    loadI_ = new QPushButton(QStringLiteral("Load I"), this);
    loadI_->setObjectName(QStringLiteral("CmdLoadI"));
    loadQ_ = new QPushButton(QStringLiteral("Load Q"), this);
    loadQ_->setObjectName(QStringLiteral("CmdLoadQ"));
    fileNameI_ = makeBox("TxtFnameI", true, this);
    fileNameQ_ = makeBox("TxtFnameQ", true, this);
    countI_ = makeBox("TxtDataSizeI", false, this);  // also where the wanted size is typed
    countQ_ = makeBox("TxtDataSizeQ", true, this);
    // Both rows read "Data Size"; name the channel for screen readers.
    fileNameI_->setAccessibleName(QStringLiteral("I or I/Q file name"));
    fileNameQ_->setAccessibleName(QStringLiteral("Q file name"));
    countI_->setAccessibleName(QStringLiteral("I Data Size"));
    countQ_->setAccessibleName(QStringLiteral("Q Data Size"));
    auto* countILabel = new QLabel(QStringLiteral("Data Size"), this);
    countILabel->setObjectName(QStringLiteral("Lbl_DataSizeI"));
    countILabel->setBuddy(countI_);
    countQLabel_ = new QLabel(QStringLiteral("Data Size"), this);
    countQLabel_->setObjectName(QStringLiteral("Lbl_DataSizeQ"));
    countQLabel_->setBuddy(countQ_);
    specifySize_ = new QCheckBox(QStringLiteral("Specify Data Size"), this);
    specifySize_->setObjectName(QStringLiteral("ChkSpecSize"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(typeLabel, 0, 0);
    grid->addWidget(fileType_, 0, 1, 1, 3);
    grid->addWidget(loadI_, 1, 0);
    grid->addWidget(fileNameI_, 1, 1);
    grid->addWidget(countILabel, 1, 2);
    grid->addWidget(countI_, 1, 3);
    grid->addWidget(loadQ_, 2, 0);
    grid->addWidget(fileNameQ_, 2, 1);
    grid->addWidget(countQLabel_, 2, 2);
    grid->addWidget(countQ_, 2, 3);
    grid->addWidget(specifySize_, 3, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    // Room for a file name; the count boxes need nine digits at most.
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (QLineEdit* box : {fileNameI_, fileNameQ_}) box->setMinimumWidth(14 * charWidth);
    for (QLineEdit* box : {countI_, countQ_}) box->setFixedWidth(11 * charWidth);
    setTabOrder(fileType_, loadI_);
    setTabOrder(loadI_, fileNameI_);
    setTabOrder(fileNameI_, countI_);
    setTabOrder(countI_, loadQ_);
    setTabOrder(loadQ_, fileNameQ_);
    setTabOrder(fileNameQ_, countQ_);
    setTabOrder(countQ_, specifySize_);

    connect(fileType_, &QComboBox::currentIndexChanged, this, [this](int index) { applyFileType(index); });
    connect(loadI_, &QPushButton::clicked, this, [this] { run(commandForFileType(state_.SelFileType)); });
    connect(loadQ_, &QPushButton::clicked, this, [this] { loadQText(); });
    connect(countI_, &QLineEdit::returnPressed, this, [this] {
        countI_->setText(
            fromUtf8(settings::enteredText(settings::EntryField::DataSizeI, countI_->text().toStdString())));
    });
}

void SignalSourceGroup::loadIText() { run(LoadCommand::IText); }
void SignalSourceGroup::loadQText() { run(LoadCommand::QText); }
void SignalSourceGroup::loadIQText() { run(LoadCommand::IQText); }
void SignalSourceGroup::loadBinaryShort() { run(LoadCommand::BinaryShort); }
void SignalSourceGroup::loadBinaryFloat() { run(LoadCommand::BinaryFloat); }

bool SignalSourceGroup::isLoading() const { return loading_; }
bool SignalSourceGroup::specifyDataSize() const { return specifySize_->isChecked(); }
QString SignalSourceGroup::dataSizeText() const { return countI_->text(); }

void SignalSourceGroup::selectFileType(int32_t type) {
    fileType_->setCurrentIndex(type);
    applyFileType(type);
}

void SignalSourceGroup::applyFileType(int32_t type) {
    const bool singleChannel = type == 0;
    loadI_->setText(singleChannel ? QStringLiteral("Load I") : QStringLiteral("Load IQ"));
    for (QWidget* control : {static_cast<QWidget*>(loadQ_), static_cast<QWidget*>(fileNameQ_),
                             static_cast<QWidget*>(countQLabel_), static_cast<QWidget*>(countQ_)})
        control->setEnabled(singleChannel);
    state_.SelFileType = type;
}

void SignalSourceGroup::setLoading(bool loading) {
    loading_ = loading;
    emit loadingChanged(loading);
}

SignalSourceGroup::Texts SignalSourceGroup::texts() const {
    return {fileNameI_->text(), fileNameQ_->text(), countI_->text(), countQ_->text()};
}

void SignalSourceGroup::restoreTexts(const Texts& texts) {
    fileNameI_->setText(texts.fileNameI);
    fileNameQ_->setText(texts.fileNameQ);
    countI_->setText(texts.countI);
    countQ_->setText(texts.countQ);
}

void SignalSourceGroup::applyTexts(const DisplayTexts& texts) {
    const auto apply = [](QLineEdit* box, const std::optional<std::string>& text) {
        if (text) box->setText(fromUtf8(*text));
    };
    apply(fileNameI_, texts.fileNameI);
    apply(fileNameQ_, texts.fileNameQ);
    apply(countI_, texts.countI);
    apply(countQ_, texts.countQ);
}

void SignalSourceGroup::run(LoadCommand command) {
    const std::optional<LoadStart> start = startLoad(command);
    if (!start) return;
    const LoadCommandInfo& info = loadCommandInfo(command);
    const QString path =
        dialogs_.openFile(window(), QString::fromLatin1(info.dialogTitle), QString::fromLatin1(info.fileFilter));
    if (path.isEmpty()) {
        setLoading(false);  // a specified size is kept
        return;
    }
    finishLoad(*start, path, path);
}

std::optional<SignalSourceGroup::LoadStart> SignalSourceGroup::startLoad(LoadCommand command) {
    // The loads process window events while they read; a second load then
    // waits for the first to finish instead of interleaving with it.
    if (loading_) return std::nullopt;
    const LoadCommandInfo& info = loadCommandInfo(command);
    selectFileType(info.fileType);

    // "Specify Data Size": decided once, at the start of the load.
    LoadStart start;
    start.command = command;
    start.sizeSpecified = specifySize_->isChecked();
    start.dataSizeBefore = state_.DataSize;
    start.recordLimit = kMaxRecords;
    if (start.sizeSpecified) {
        const std::string typed = countI_->text().toStdString();
        const std::optional<int32_t> size = specifiedDataSize(typed);
        if (!size) {
            dialogs_.message(window(), fromUtf8(specifiedDataSizeErrorText(typed)), QString::fromLatin1(kProgramName));
            return std::nullopt;
        }
        state_.DataSize = *size;  // kept even when the dialog is cancelled
        start.recordLimit = *size;
    }
    setLoading(true);
    return start;
}

void SignalSourceGroup::abandonLoad(const LoadStart& start) {
    state_.DataSize = start.dataSizeBefore;
    setLoading(false);
}

bool SignalSourceGroup::finishLoad(const LoadStart& start, const QString& path, const QString& shownPath) {
    const LoadCommand command = start.command;
    const LoadCommandInfo& info = loadCommandInfo(command);
    const QString programName = QString::fromLatin1(kProgramName);
    const QString fileName = QFileInfo(shownPath).fileName();
    const std::string nativePath = QFile::encodeName(path).toStdString();
    const InputLayout layout = layoutFor(command, fileName.toStdString());
    const Texts before = texts();
    // What the user sees while the file is read: its name, and the count growing.
    if (info.countsIntoQBox) {
        fileNameQ_->setText(fileName);
    } else {
        fileNameI_->setText(fileName);
        if (command != LoadCommand::IText) {
            fileNameQ_->clear();
            countQ_->clear();
        }
    }
    QLineEdit* countBox = info.countsIntoQBox ? countQ_ : countI_;
    ScanOptions options;
    options.recordLimit = start.recordLimit;
    options.onProgress = [countBox](int64_t count) {
        countBox->setText(QString::number(count));
        QCoreApplication::processEvents();
    };
    ScanOutcome outcome;
    {
        BusyPointer busy;
        outcome = scanFile(nativePath, layout, options);
        QCoreApplication::processEvents();
    }

    if (!outcome.ok()) {
        // The file is refused: everything stays as it was before the load,
        // the specified size too (only a cancelled dialog keeps it).
        state_.DataSize = start.dataSizeBefore;
        restoreTexts(before);
        dialogs_.message(
            window(),
            fromUtf8(scanErrorText(*outcome.error, layout, QDir::toNativeSeparators(shownPath).toStdString())),
            programName);
        setLoading(false);
        return false;
    }
    const LoadCompletion done =
        completeLoad(state_, command, nativePath, fileName.toStdString(), outcome.result, start.sizeSpecified);
    state_ = done.state;
    if (done.showDataSizeOver) dialogs_.message(window(), QString::fromLatin1(kDataSizeOverText), programName);
    if (done.showNotMultipleOf4)
        dialogs_.message(window(), QString::fromLatin1(kNotMultipleOf4Text), QString::fromLatin1(kWarningCaption));
    applyTexts(done.texts);
    setLoading(false);
    emit inputLoaded();
    return true;
}

}  // namespace orvenda::input
