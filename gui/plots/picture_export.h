// Writing a painted picture to a PNG or SVG file, the format chosen by the
// file name's ending. Works without a display (offscreen platform).
#ifndef ORVENDA_GUI_PLOTS_PICTURE_EXPORT_H
#define ORVENDA_GUI_PLOTS_PICTURE_EXPORT_H

#include <QRectF>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QPainter;

namespace orvenda::plots {

enum class PictureFormat { Png, Svg };

// ".png" or ".svg" in any case; nothing for any other ending.
std::optional<PictureFormat> pictureFormatOf(const QString& path);

using PaintFunction = std::function<void(QPainter&, const QRectF&)>;

// Paints into `size` pixels and writes the file through a temporary file
// beside it, renamed over it only when complete. Returns an empty string on
// success, otherwise what went wrong.
QString writePicture(const QString& path, QSize size, const PaintFunction& paint);

}  // namespace orvenda::plots

#endif
