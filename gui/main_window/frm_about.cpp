#include "gui/main_window/frm_about.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/orvenda_version.h"
#include "gui/main_window/about_picture.h"

namespace orvenda {

FrmAbout::FrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Orvenda"));
    setModal(false);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(aboutPicture());
    picture->setFixedSize(kAboutPictureWidth, kAboutPictureHeight);

    auto* product = new QLabel(QStringLiteral("Orvenda for KX2900 OPT10(SG)"), this);
    product->setObjectName(QStringLiteral("Label1"));
    auto* version = new QLabel(QStringLiteral("Version ") + QString::fromLatin1(kVersion), this);
    version->setObjectName(QStringLiteral("Label2"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addSpacing(6);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addSpacing(6);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace orvenda
