#include "gui/settings/frame_box.h"

#include <QCheckBox>
#include <QEvent>
#include <QStyleOptionGroupBox>
#include <QStylePainter>

namespace orvenda::settings {
namespace {

// Styles differ in what they read for the title colour: some take textColor,
// Fusion takes the window text of the option's palette. Only the option is
// changed, so the children keep their colours.
void colourTitle(QStyleOptionGroupBox& option, const QColor& color) {
    option.textColor = color;
    option.palette.setColor(QPalette::WindowText, color);
}

// Paints a non-checkable group box the way QGroupBox::paintEvent does (its
// initStyleOption is protected), with the title in another colour.
class TitleColorFilter : public QObject {
public:
    TitleColorFilter(QGroupBox* box, const QColor& color) : QObject(box), color_(color) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QGroupBox*>(watched);
        if (event->type() != QEvent::Paint || !box || box->isCheckable()) return false;
        QStylePainter painter(box);
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.lineWidth = 1;
        option.midLineWidth = 0;
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame;
        if (!box->title().isEmpty()) option.subControls |= QStyle::SC_GroupBoxLabel;
        if (box->isFlat()) option.features |= QStyleOptionFrame::Flat;
        colourTitle(option, color_);
        painter.drawComplexControl(QStyle::CC_GroupBox, option);
        return true;
    }

private:
    QColor color_;
};

}  // namespace

void paintTitleInColor(QGroupBox* box, const QColor& color) {
    box->installEventFilter(new TitleColorFilter(box, color));
    box->update();
}

FrameBox::FrameBox(const QString& objectName, const QString& title, QWidget* parent) : QGroupBox(title, parent) {
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
    // QGroupBox::paintEvent with a title colour.
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    if (titleColor_.isValid()) colourTitle(option, titleColor_);
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

void FrameBox::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    placeSwitch();
}

void FrameBox::changeEvent(QEvent* event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) placeSwitch();
}

// The check box sits at the start of the title text, over its blanks,
// vertically centred on the title line.
void FrameBox::placeSwitch() {
    if (!switch_) return;
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect label = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    const QSize size = switch_->sizeHint();
    switch_->setGeometry(label.left(), label.center().y() - size.height() / 2 + 1, size.width(), size.height());
    switch_->raise();
}

}  // namespace orvenda::settings
