// Scaffolding: filled in by the About window work.
#include "main_window/frm_about.h"

namespace orvenda {

FrmAbout::FrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Orvenda"));
}

}  // namespace orvenda
