// The Tools menu's waveform items: "Waveform View" shows the loaded input as
// the transform would write it, with the panel's settings, and follows later
// loads; "Open Waveform File..." shows an ".awv" file. One view window.
#ifndef ORVENDA_GUI_VIEWS_WAVEFORM_VIEW_COMMANDS_H
#define ORVENDA_GUI_VIEWS_WAVEFORM_VIEW_COMMANDS_H

#include <QObject>
#include <QPointer>

#include "core/state/comon_lib.h"
#include "gui/views/waveform_view_window.h"

class QMenu;
class QWidget;

namespace orvenda {
class UserDialogs;
namespace settings {
class SettingsPanel;
}
namespace input {
class SignalSourceGroup;
}
}  // namespace orvenda

namespace orvenda::views {

inline const char kAwvFileFilter[] = "waveform files(*.awv)|*.awv|all files(*.*)|*.*";

class WaveformViewCommands : public QObject {
    Q_OBJECT
public:
    struct Panels {
        const settings::SettingsPanel* panel;
        const input::SignalSourceGroup* signalSource;
    };
    // `window` is the main window: it parents the dialogs and the view.
    WaveformViewCommands(ComonLib& state, UserDialogs& dialogs, Panels panels, QWidget* window);
    ~WaveformViewCommands() override;

    // "Waveform View" and "Open Waveform File..." (MnuWaveformView, MnuOpenWaveform).
    void addMenuItems(QMenu* tools);

    void showLoadedInput();
    // Asks for a file, then opens it.
    void chooseWaveformFile();
    void openWaveformFile(const QString& path);
    WaveformViewWindow* viewWindow() const { return view_.data(); }

private:
    WaveformViewWindow* ensureView();
    ConversionRequest conversionRequest(TransformKind kind) const;

    ComonLib& state_;
    UserDialogs& dialogs_;
    Panels panels_;
    QWidget* window_;
    QPointer<WaveformViewWindow> view_;
};

}  // namespace orvenda::views

#endif
