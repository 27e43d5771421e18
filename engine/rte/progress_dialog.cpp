#include "engine/rte/progress_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QVBoxLayout>
#include <QWidget>

#include "engine/rte/panel_file.h"
#include "engine/rte/window_view_api.h"

namespace halvik::rte {

bool ProgressDialog::guiAvailable() {
    // instance() only reads a static pointer: safe in a process that never
    // touched Qt, where it is null.
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    return app != nullptr && QThread::currentThread() == app->thread();
}

ProgressDialog::ProgressDialog(const PanelDefinition& definition) : window_(std::make_unique<QWidget>()) {
    // A title but no close button: the conversion cannot be interrupted.
    window_->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window_->setWindowTitle(
        QString::fromUtf8(definition.title.data(), static_cast<qsizetype>(definition.title.size())));
    window_->setObjectName(QStringLiteral("rtePanel%1").arg(definition.id));
    window_->resize(definition.width, definition.height);

    auto* layout = new QVBoxLayout(window_.get());
    for (const ControlDefinition& control : definition.controls) {
        const QString text = QString::fromUtf8(control.text.data(), static_cast<qsizetype>(control.text.size()));
        auto* label = new QLabel(text, window_.get());
        label->setObjectName(QStringLiteral("control%1Text").arg(control.id));
        layout->addWidget(label);
        if (control.kind != ControlKind::Progress) continue;
        auto* bar = new QProgressBar(window_.get());
        bar->setObjectName(QStringLiteral("control%1Bar").arg(control.id));
        bar->setRange(0, 100);
        bar->setValue(0);
        layout->addWidget(bar);
        progress_[control.id] = ProgressWidgets{label, bar};
    }
}

ProgressDialog::~ProgressDialog() {
    // A window belongs to its thread; should the last reference go elsewhere,
    // the window's own thread deletes it.
    if (window_ && window_->thread() != QThread::currentThread()) window_.release()->deleteLater();
}

void ProgressDialog::show() {
    if (QWidget* owner = QApplication::activeWindow()) {
        window_->move(owner->frameGeometry().center() - window_->rect().center());
    }
    window_->show();
    window_->raise();
    draw();
}

void ProgressDialog::showText(int control, const std::string& text) {
    auto it = progress_.find(control);
    if (it == progress_.end()) return;
    it->second.text->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void ProgressDialog::showPercent(int control, int percent) {
    auto it = progress_.find(control);
    if (it == progress_.end()) return;
    it->second.bar->setValue(percent);
    // The caller's thread is busy converting: paint now, not at the next
    // turn of its event loop. This runs at most about a hundred times.
    draw();
}

void ProgressDialog::draw() {
    // Paint and expose events only; clicks and keys wait until the
    // conversion returns, so nothing can re-enter the engine meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace halvik::rte

extern "C" __attribute__((visibility("default"))) halvik::rte::PanelView* RteCreateWindowView(
    const halvik::rte::PanelDefinition* definition) {
    try {
        if (definition == nullptr || !halvik::rte::ProgressDialog::guiAvailable()) return nullptr;
        return new halvik::rte::ProgressDialog(*definition);
    } catch (...) {
        return nullptr;
    }
}
