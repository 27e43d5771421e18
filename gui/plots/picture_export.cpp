#include "gui/plots/picture_export.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace orvenda::plots {

std::optional<PictureFormat> pictureFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return PictureFormat::Png;
    if (suffix == QLatin1String("svg")) return PictureFormat::Svg;
    return std::nullopt;
}

QString writePicture(const QString& path, QSize size, const PaintFunction& paint) {
    const std::optional<PictureFormat> format = pictureFormatOf(path);
    if (!format) return QStringLiteral("%1: the name must end in .png or .svg").arg(path);
    if (size.width() < 1 || size.height() < 1)
        return QStringLiteral("%1: the picture size must be at least 1x1").arg(path);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QRectF bounds(QPointF(0, 0), QSizeF(size));
    if (*format == PictureFormat::Png) {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            paint(painter, bounds);
        }
        if (!image.save(&buffer, "PNG")) return QStringLiteral("%1: the picture could not be encoded").arg(path);
    } else {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(bounds);
        svg.setTitle(QFileInfo(path).completeBaseName());
        QPainter painter(&svg);
        paint(painter, bounds);
        painter.end();
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    return {};
}

}  // namespace orvenda::plots
