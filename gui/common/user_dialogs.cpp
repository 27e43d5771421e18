#include "gui/common/user_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace orvenda {

QString toQtFileFilter(const QString& pipeSeparatedFilter) {
    const QStringList parts = pipeSeparatedFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& pattern = parts[i + 1];
        // "*.*" means every file where these lists come from; here it would
        // hide names without a dot, so Qt is given "*" instead.
        if (pattern == QLatin1String("*.*")) filters << QStringLiteral("%1 (*)").arg(description);
        // Qt takes the patterns from the parentheses; add them when the
        // description does not already show them.
        else if (description.contains(QLatin1Char('(')))
            filters << description;
        else
            filters << QStringLiteral("%1 (%2)").arg(description, pattern);
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtUserDialogs::openFile(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), toQtFileFilter(filter));
}

QString QtUserDialogs::saveFile(QWidget* parent, const QString& title, const QString& filter) {
    QFileDialog dialog(parent, title, QString(), toQtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

void QtUserDialogs::message(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace orvenda
