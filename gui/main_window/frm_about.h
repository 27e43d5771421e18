// The About window: the program's name, the instrument it serves, its version.
#ifndef ORVENDA_GUI_MAIN_WINDOW_FRM_ABOUT_H
#define ORVENDA_GUI_MAIN_WINDOW_FRM_ABOUT_H

#include <QDialog>

namespace orvenda {

class FrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit FrmAbout(QWidget* parent = nullptr);
};

}  // namespace orvenda

#endif
