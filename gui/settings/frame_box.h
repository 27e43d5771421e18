// A framed group of the instrument panels: a group box whose title can be
// drawn in the top-level frames' red, and which can carry a caption-less
// check box over the six blanks that start its title (the group's switch).
// QGroupBox's own checkable title is not used: it would enable and disable
// every child with the switch, while the settings rules enable them one by one.
#ifndef ORVENDA_GUI_SETTINGS_FRAME_BOX_H
#define ORVENDA_GUI_SETTINGS_FRAME_BOX_H

#include <QColor>
#include <QGroupBox>

class QCheckBox;

namespace orvenda::settings {

// The title colour of the window's top-level frames.
inline const QColor kTopFrameTitleColor{0xd0, 0x00, 0x00};

// Draws the title of a plain group box built elsewhere in `color`, as
// FrameBox::setTitleColor does; the box's children keep their colours.
void paintTitleInColor(QGroupBox* box, const QColor& color);

class FrameBox : public QGroupBox {
    Q_OBJECT
public:
    // The title as the frame shows it; a switched group's title starts with
    // six blanks for its check box.
    FrameBox(const QString& objectName, const QString& title, QWidget* parent = nullptr);

    // Top-level frames draw their title in red.
    void setTitleColor(const QColor& color);
    // Adds the caption-less title check box; its accessible name is the title.
    QCheckBox* addTitleSwitch(const QString& objectName);
    QCheckBox* titleSwitch() const { return switch_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void placeSwitch();

    QColor titleColor_;
    QCheckBox* switch_ = nullptr;
};

}  // namespace orvenda::settings

#endif
