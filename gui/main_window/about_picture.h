// The About window's 250 by 50 picture: an I/Q pair and a marker trace over
// a dark panel, drawn in code so that no image file has to travel along.
#ifndef ORVENDA_GUI_MAIN_WINDOW_ABOUT_PICTURE_H
#define ORVENDA_GUI_MAIN_WINDOW_ABOUT_PICTURE_H

#include <QPixmap>

namespace orvenda {

inline constexpr int kAboutPictureWidth = 250;
inline constexpr int kAboutPictureHeight = 50;

QPixmap aboutPicture();

}  // namespace orvenda

#endif
