// Colours and the font shared by every plot, on screen and in files.
#ifndef ORVENDA_GUI_PLOTS_PLOT_STYLE_H
#define ORVENDA_GUI_PLOTS_PLOT_STYLE_H

#include <QColor>
#include <QFont>

namespace orvenda::plots {

inline const QColor kPageBackground{255, 255, 255};
inline const QColor kPlotBackground{252, 252, 250};
inline const QColor kGridColor{222, 222, 222};
inline const QColor kAxisColor{40, 40, 40};
inline const QColor kIColor{31, 119, 180};
inline const QColor kQColor{230, 120, 20};
inline const QColor kMagnitudeColor{90, 90, 90};
inline const QColor kReferenceColor{200, 40, 40};
inline const QColor kMarker1Color{40, 150, 60};
inline const QColor kMarker2Color{150, 60, 160};

// A fixed pixel size, so a picture looks the same on any screen and offscreen.
inline QFont plotFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    return font;
}

}  // namespace orvenda::plots

#endif
