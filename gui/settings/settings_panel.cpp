// Scaffolding: the frames are filled in by the settings panel work.
#include "settings/settings_panel.h"

#include <QGroupBox>

namespace orvenda::settings {

struct SettingsPanel::Widgets {
    QGroupBox* outputControl = nullptr;
    QGroupBox* outputSetup = nullptr;
    QGroupBox* marker = nullptr;
    QGroupBox* intermediate = nullptr;
};

SettingsPanel::SettingsPanel(SequenceMemory& memory, QWidget* window)
    : QObject(window), memory_(memory), w_(new Widgets) {
    w_->outputControl = new QGroupBox(QStringLiteral("IQ Output Control"), window);
    w_->outputSetup = new QGroupBox(QStringLiteral("Output Setup"), window);
    w_->marker = new QGroupBox(QStringLiteral("      Marker"), window);
    w_->intermediate = new QGroupBox(QStringLiteral("Intermidiate Frequency"), window);
}

QWidget* SettingsPanel::outputControlFrame() const { return w_->outputControl; }
QWidget* SettingsPanel::outputSetupFrame() const { return w_->outputSetup; }
QWidget* SettingsPanel::markerGroup() const { return w_->marker; }
QWidget* SettingsPanel::intermediateFrequencyFrame() const { return w_->intermediate; }

PanelSnapshot SettingsPanel::snapshot() const { return PanelSnapshot{}; }

void SettingsPanel::switchMarkerOutputOn(int, bool) {}
void SettingsPanel::setMarkerOn(int, bool) {}

}  // namespace orvenda::settings
