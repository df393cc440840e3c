#include "QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "LiftedBusyCursor.h"

namespace kartovex {
namespace {

int exec(QMessageBox& box) {
    LiftedBusyCursor lifted;
    return box.exec();
}

}  // namespace

void QtMessageBox::information(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Information, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    exec(box);
}

bool QtMessageBox::question(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return exec(box) == QMessageBox::Yes;
}

}  // namespace kartovex
