#include "settings/frame_box.h"

#include <QCheckBox>
#include <QEvent>
#include <QStyleOptionGroupBox>
#include <QStylePainter>

namespace orvenda::settings {

FrameBox::FrameBox(const QString& objectName, const QString& title, QWidget* parent)
    : QGroupBox(title, parent) {
    setObjectName(objectName);
}

void FrameBox::setTitleColor(const QColor& color) {
    titleColor_ = color;
    update();
}

QCheckBox* FrameBox::addTitleSwitch(const QString& objectName) {
    switch_ = new QCheckBox(this);
    switch_->setObjectName(objectName);
    switch_->setAccessibleName(title().trimmed());
    placeSwitch();
    return switch_;
}

void FrameBox::paintEvent(QPaintEvent*) {
    // QGroupBox::paintEvent, with the title colour the style honours.
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    if (titleColor_.isValid())
        option.textColor = titleColor_;
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

void FrameBox::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    placeSwitch();
}

void FrameBox::changeEvent(QEvent* event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        placeSwitch();
}

// The check box sits at the start of the title text, over its blanks,
// vertically centred on the title line.
void FrameBox::placeSwitch() {
    if (!switch_)
        return;
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect label = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    const QSize size = switch_->sizeHint();
    switch_->setGeometry(label.left(), label.center().y() - size.height() / 2 + 1, size.width(), size.height());
    switch_->raise();
}

}  // namespace orvenda::settings
