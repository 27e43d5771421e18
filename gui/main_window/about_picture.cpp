#include "gui/main_window/about_picture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <iterator>

namespace orvenda {
namespace {

// One trace of a slowly decaying carrier across the picture.
QPainterPath carrierTrace(double phase, double amplitude, double centre) {
    QPainterPath path;
    constexpr double kPi = 3.14159265358979323846;
    for (int x = 0; x <= kAboutPictureWidth; ++x) {
        const double t = static_cast<double>(x) / kAboutPictureWidth;
        const double envelope = 0.35 + 0.65 * std::sin(kPi * t);
        const double y = centre - amplitude * envelope * std::sin(2.0 * kPi * 6.0 * t + phase);
        if (x == 0)
            path.moveTo(x, y);
        else
            path.lineTo(x, y);
    }
    return path;
}

}  // namespace

QPixmap aboutPicture() {
    QPixmap picture(kAboutPictureWidth, kAboutPictureHeight);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient background(0, 0, 0, kAboutPictureHeight);
    background.setColorAt(0.0, QColor(18, 32, 58));
    background.setColorAt(1.0, QColor(6, 12, 24));
    painter.fillRect(picture.rect(), background);

    painter.setPen(QPen(QColor(255, 255, 255, 28), 1));
    for (int x = 25; x < kAboutPictureWidth; x += 25) painter.drawLine(x, 0, x, kAboutPictureHeight);
    painter.drawLine(0, 22, kAboutPictureWidth, 22);

    painter.setPen(QPen(QColor(90, 200, 250), 1.6));
    painter.drawPath(carrierTrace(0.0, 15.0, 22.0));
    painter.setPen(QPen(QColor(250, 170, 60), 1.6));
    painter.drawPath(carrierTrace(3.14159265358979323846 / 2.0, 15.0, 22.0));

    // A marker trace along the foot, as the waveform file carries it.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(120, 230, 120), 1));
    const int low = 46;
    const int high = 40;
    const int edges[] = {0, 40, 85, 130, 175, 210, kAboutPictureWidth};
    for (int i = 0; i + 1 < static_cast<int>(std::size(edges)); ++i) {
        const int level = i % 2 == 0 ? low : high;
        painter.drawLine(edges[i], level, edges[i + 1], level);
        if (i + 2 < static_cast<int>(std::size(edges))) painter.drawLine(edges[i + 1], low, edges[i + 1], high);
    }

    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(235, 240, 250));
    painter.drawText(QRect(0, 0, kAboutPictureWidth - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("KX2900 AWG"));
    return picture;
}

}  // namespace orvenda
