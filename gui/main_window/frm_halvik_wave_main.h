// The main window "Orvenda Version <version>": signal source, output settings,
// marker setup, IF carrier, the two transform buttons and the menu bar.
#ifndef ORVENDA_GUI_MAIN_WINDOW_FRM_HALVIK_WAVE_MAIN_H
#define ORVENDA_GUI_MAIN_WINDOW_FRM_HALVIK_WAVE_MAIN_H

#include <QMainWindow>
#include <QPointer>

#include "core/state/comon_lib.h"
#include "gui/markers/marker_settings_link.h"

class QMenu;
class QPushButton;

namespace orvenda {

class UserDialogs;
class FrmAbout;
class TransformCommands;
namespace settings {
class SettingsPanel;
}
namespace input {
class SignalSourceGroup;
}
namespace markers {
class FrmMarker;
class MarkerFilesPanel;
}  // namespace markers

class FrmHalvikWaveMain : public QMainWindow, private markers::MarkerSettingsLink {
    Q_OBJECT
public:
    FrmHalvikWaveMain(ComonLib& state, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~FrmHalvikWaveMain() override;

    // "Edit Marker": shows the one marker editor, creating it when needed.
    void openMarkerEditor();
    // "About": shows the one About window.
    void openAbout();
    markers::FrmMarker* markerEditor() const;
    FrmAbout* aboutWindow() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void runLoadStep();
    void buildMenus();
    // The "Tools" menu: views, recordings and settings profiles
    // (tools_menu.cpp).
    void buildToolsMenu(QMenu* tools);
    void connectTransformCommands();
    QWidget* buildCentralWidget();

    // MarkerSettingsLink
    void switchMarkerOutputOn(markers::MarkerNumber marker, bool checkOnBoxFirst) override;
    void setMarkerOn(markers::MarkerNumber marker, bool on) override;
    void setMarkerFileName(markers::MarkerNumber marker, const QString& name) override;

    ComonLib& state_;
    UserDialogs& dialogs_;
    settings::SettingsPanel* settings_ = nullptr;
    input::SignalSourceGroup* signalSource_ = nullptr;
    markers::MarkerFilesPanel* markerFiles_ = nullptr;
    QPushButton* baseBandButton_ = nullptr;
    QPushButton* ifButton_ = nullptr;
    TransformCommands* transforms_ = nullptr;
    QPointer<markers::FrmMarker> markerEditor_;
    QPointer<FrmAbout> about_;
};

}  // namespace orvenda

#endif
