#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "model/CommonDialog.h"
#include "model/Services.h"

namespace kartovex {

// CmnDlg's open-file dialog on Qt: its title and filters, an empty or given name field,
// and a typed name that does not exist is accepted; it opens in the folder of the file
// picked last. Qt's own dialog is used because a desktop's dialog may insist that the
// typed file exists.
class QtFileChooser : public FileChooser {
public:
    // `owner` is the window the dialog is modal over; it may be null.
    explicit QtFileChooser(QWidget* owner = nullptr);

    // The picked file's full path with the platform's own folder separators.
    std::optional<std::string> showOpen(const CommonDialog& settings) override;

    // "JPG(*.jpg)|*.jpg" as Qt's name filters: "JPG(*.jpg)", matching *.jpg.
    static QStringList nameFilters(const std::string& filter);

private:
    QPointer<QWidget> owner_;
    QString lastFolder_;
};

}  // namespace kartovex
