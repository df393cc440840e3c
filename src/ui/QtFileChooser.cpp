#include "QtFileChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace kartovex {

QtFileChooser::QtFileChooser(QWidget* owner) : owner_(owner) {}

QStringList QtFileChooser::nameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        // Qt takes the patterns from the parentheses that end a filter; a description
        // that already ends in them is shown as it is.
        const QString shownPatterns = "(" + patterns + ")";
        filters << (description.endsWith(shownPatterns) ? description
                                                        : description + " " + shownPatterns);
    }
    return filters;
}

std::optional<std::string> QtFileChooser::showOpen(const CommonDialog& settings) {
    QFileDialog dialog(owner_, QString::fromStdString(settings.DialogTitle));
    dialog.setObjectName("CmnDlg");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = nameFilters(settings.Filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    // With one filter in the list that one is offered, whatever the index asks for.
    if (settings.FilterIndex >= 1 && settings.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[settings.FilterIndex - 1]);
    if (!lastFolder_.isEmpty()) dialog.setDirectory(lastFolder_);
    dialog.selectFile(QString::fromStdString(settings.FileName));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList picked = dialog.selectedFiles();
    if (picked.isEmpty()) return std::nullopt;
    lastFolder_ = QFileInfo(picked.first()).absolutePath();
    return QDir::toNativeSeparators(picked.first()).toStdString();
}

}  // namespace kartovex
