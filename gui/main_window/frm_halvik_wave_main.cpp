#include "gui/main_window/frm_halvik_wave_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/orvenda_version.h"
#include "gui/common/user_dialogs.h"
#include "gui/input/signal_source_group.h"
#include "gui/main_window/frm_about.h"
#include "gui/main_window/transform_commands.h"
#include "gui/markers/frm_marker.h"
#include "gui/markers/marker_files_panel.h"
#include "gui/settings/focus_chain.h"
#include "gui/settings/frame_box.h"
#include "gui/settings/settings_panel.h"

namespace orvenda {

FrmHalvikWaveMain::FrmHalvikWaveMain(ComonLib& state, UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), state_(state), dialogs_(dialogs) {
    setObjectName(QStringLiteral("FrmHalvikWaveMain"));
    setWindowTitle(QStringLiteral("Orvenda Version ") + QString::fromLatin1(kVersion));
    runLoadStep();
    setCentralWidget(buildCentralWidget());
    buildMenus();
    connectTransformCommands();
}

FrmHalvikWaveMain::~FrmHalvikWaveMain() {
    // The editor and the About window are top-level windows of their own.
    delete markerEditor_.data();
    delete about_.data();
}

markers::FrmMarker* FrmHalvikWaveMain::markerEditor() const { return markerEditor_.data(); }

FrmAbout* FrmHalvikWaveMain::aboutWindow() const { return about_.data(); }

void FrmHalvikWaveMain::runLoadStep() {
    state_.markers.clear();
    state_.input.InputFileKind = 0;
    state_.input.InputDataType = 0;
    state_.input.SelFileType = 0;
    state_.sequence = settings::SequenceMemory{};
}

QWidget* FrmHalvikWaveMain::buildCentralWidget() {
    auto* central = new QWidget(this);
    settings_ = new settings::SettingsPanel(state_.sequence, central);
    signalSource_ = new input::SignalSourceGroup(state_.input, dialogs_, central);
    signalSource_->setObjectName(QStringLiteral("FraSignalSource"));
    settings::paintTitleInColor(signalSource_, settings::kTopFrameTitleColor);

    auto* markerSetup =
        new settings::FrameBox(QStringLiteral("FraMarkerSetup"), QStringLiteral("Marker Setup"), central);
    markerSetup->setTitleColor(settings::kTopFrameTitleColor);
    markerFiles_ = new markers::MarkerFilesPanel(state_.markers, dialogs_, *this, markerSetup);
    auto* markerLayout = new QVBoxLayout(markerSetup);
    markerLayout->addWidget(settings_->markerGroup());
    markerLayout->addWidget(markerFiles_);
    markerLayout->addStretch();
    connect(markerFiles_, &markers::MarkerFilesPanel::editMarkerRequested, this, &FrmHalvikWaveMain::openMarkerEditor);

    baseBandButton_ = new QPushButton(QStringLiteral("BaseBand Transform"), central);
    baseBandButton_->setObjectName(QStringLiteral("BtnTransform"));
    ifButton_ = new QPushButton(QStringLiteral("IF Transform"), central);
    ifButton_->setObjectName(QStringLiteral("BtnTransIF"));

    // Three columns: input and markers, the I/Q output controls, then the
    // output setup, the IF carrier and the two transform buttons. Marker
    // Setup and Output Setup take the spare height, so the columns end level.
    auto* left = new QVBoxLayout;
    left->addWidget(signalSource_);
    left->addWidget(markerSetup, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(settings_->outputSetupFrame(), 1);
    right->addWidget(settings_->intermediateFrequencyFrame());
    right->addWidget(baseBandButton_);
    right->addWidget(ifButton_);
    auto* columns = new QHBoxLayout(central);
    // A wider window gives its room to the file names of the first column.
    columns->addLayout(left, 1);
    columns->addWidget(settings_->outputControlFrame());
    columns->addLayout(right);
    // Keyboard focus column by column, top to bottom, as laid out.
    settings::chainFocus(
        this, {signalSource_, settings_->markerGroup(), markerFiles_, settings_->outputControlFrame(),
               settings_->outputSetupFrame(), settings_->intermediateFrequencyFrame(), baseBandButton_, ifButton_});
    return central;
}

void FrmHalvikWaveMain::connectTransformCommands() {
    transforms_ = new TransformCommands(state_, dialogs_, {settings_, signalSource_, baseBandButton_, ifButton_}, this);
    connect(baseBandButton_, &QPushButton::clicked, transforms_, &TransformCommands::runBaseBand);
    connect(ifButton_, &QPushButton::clicked, transforms_, &TransformCommands::runIF);
}

void FrmHalvikWaveMain::buildMenus() {
    auto addItem = [this](QMenu* menu, const char* caption, const char* name, auto slot) {
        QAction* action = menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("MnuFile"));
    addItem(file, "Load IQ Data", "MnuLoadIQ", [this] { signalSource_->loadIQText(); });
    addItem(file, "Load I Data", "MnuLoadI", [this] { signalSource_->loadIText(); });
    addItem(file, "Load Q Data", "MnuLoadQ", [this] { signalSource_->loadQText(); });
    addItem(file, "Load Binary(short IQ)", "MnuLoadBs", [this] { signalSource_->loadBinaryShort(); });
    addItem(file, "Load Binary(float IQ)", "MnuLoadBf", [this] { signalSource_->loadBinaryFloat(); });
    // Kept hidden and disabled: these save items never do anything.
    for (auto [caption, name] :
         {std::pair{"Save AWG IQ Data", "MnuSaveAWGData"}, std::pair{"Save AWG I Data", "MnuSaveAWGIData"},
          std::pair{"Save AWQ Q Data", "MnuSaveAWGQData"}}) {
        QAction* hidden = file->addAction(QString::fromLatin1(caption));
        hidden->setObjectName(QString::fromLatin1(name));
        hidden->setVisible(false);
        hidden->setEnabled(false);
    }
    file->addSeparator();
    addItem(file, "Load Marker1", "MnuLoadMark1", [this] { markerFiles_->loadMarker(markers::MarkerNumber::One); });
    addItem(file, "Load Marker2", "MnuLoadMark2", [this] { markerFiles_->loadMarker(markers::MarkerNumber::Two); });
    file->addSeparator();
    // "Exit" ends the program at once: no window's closing step runs.
    addItem(file, "Exit", "nmuExit", [] { QCoreApplication::exit(0); });

    QMenu* marker = menuBar()->addMenu(QStringLiteral("&Marker"));
    marker->setObjectName(QStringLiteral("MnuMarker"));
    addItem(marker, "Edit Marker", "MnuSetupMark", [this] { openMarkerEditor(); });

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("MnuTools"));
    buildToolsMenu(tools);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("MnuHelp"));
    addItem(help, "About", "MnuAbout", [this] { openAbout(); });
}

void FrmHalvikWaveMain::openMarkerEditor() {
    if (!markerEditor_) {
        markerEditor_ = new markers::FrmMarker(state_.markers, dialogs_, *this);
        markerEditor_->setAttribute(Qt::WA_DeleteOnClose);
    }
    markerEditor_->show();
    markerEditor_->raise();
    markerEditor_->activateWindow();
}

void FrmHalvikWaveMain::openAbout() {
    if (!about_) {
        about_ = new FrmAbout;
        about_->setAttribute(Qt::WA_DeleteOnClose);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void FrmHalvikWaveMain::closeEvent(QCloseEvent* event) {
    if (markerEditor_) markerEditor_->close();
    QMainWindow::closeEvent(event);
}

void FrmHalvikWaveMain::switchMarkerOutputOn(markers::MarkerNumber marker, bool checkOnBoxFirst) {
    settings_->switchMarkerOutputOn(marker, checkOnBoxFirst);
}

void FrmHalvikWaveMain::setMarkerOn(markers::MarkerNumber marker, bool on) { settings_->setMarkerOn(marker, on); }

void FrmHalvikWaveMain::setMarkerFileName(markers::MarkerNumber marker, const QString& name) {
    markerFiles_->setMarkerFileName(marker, name);
}

}  // namespace orvenda
