#include "Program.h"

#include <QApplication>

#include "deviation/Deviation.h"
#include "ui/Form1.h"

namespace kartovex {

Program::Program()
    : runner_(messages_, [] {
          // Nothing more is handled once an error has ended the program.
          QApplication::closeAllWindows();
          QCoreApplication::exit(1);
      }) {}

Program::~Program() = default;

void Program::start() {
    auto* form1 = new Form1;
    connect(form1, &Form1::finished, this, &Program::openMainWindow);
    form1->show();
}

void Program::openMainWindow() {
    if (form2_ || model_) return;
    model_ = std::make_unique<MainWindowModel>();
    form2_ = new Form2(*model_);
    MainWindowModel& form = *model_;
    form2_->setCommand("Command3", [this] { form2_->close(); });
    form2_->setCommand("Command4", [this, &form] { runner_.run([&form] { calculateUpperLeft(form); }); });
    form2_->setCommand("Command5", [this, &form] { runner_.run([&form] { calculateLowerRight(form); }); });
    form2_->show();
    emit mainWindowOpened(form2_);
}

}  // namespace kartovex
