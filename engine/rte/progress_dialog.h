// The panel as a real window, for processes that run a Qt GUI application:
// built from the panel's definition (title, size, controls in file order);
// a progress control is a stage label above a percentage bar.
#ifndef ORVENDA_ENGINE_RTE_PROGRESS_DIALOG_H
#define ORVENDA_ENGINE_RTE_PROGRESS_DIALOG_H

#include <map>
#include <memory>

#include "engine/rte/panel_view.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace halvik::rte {

struct PanelDefinition;

class ProgressDialog final : public PanelView {
public:
    explicit ProgressDialog(const PanelDefinition& definition);
    ~ProgressDialog() override;
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    void show() override;
    void showText(int control, const std::string& text) override;
    void showPercent(int control, int percent) override;
    void draw() override;

    // True when this thread may own windows: a QApplication (not merely a
    // QCoreApplication) exists and this is its thread. Never creates one.
    static bool guiAvailable();

private:
    struct ProgressWidgets {
        QLabel* text = nullptr;
        QProgressBar* bar = nullptr;
    };
    std::unique_ptr<QWidget> window_;
    std::map<int, ProgressWidgets> progress_;
};

}  // namespace halvik::rte

#endif
