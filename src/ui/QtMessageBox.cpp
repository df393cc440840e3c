#include "QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace kartovex {

void QtMessageBox::information(const std::string& text, const std::string& title) {
    // A command may be showing the busy cursor; the box itself waits for the user.
    int busy = 0;
    while (QApplication::overrideCursor()) {
        QApplication::restoreOverrideCursor();
        ++busy;
    }
    QMessageBox box(QMessageBox::Information, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
    while (busy-- > 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

}  // namespace kartovex
