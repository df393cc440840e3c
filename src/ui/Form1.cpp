#include "Form1.h"

#include <QLabel>

#include "Artwork.h"
#include "model/Form2Layout.h"

namespace kartovex {

Form1::Form1(QWidget* parent) : QWidget(parent), picture1_(new QLabel(this)) {
    setObjectName("Form1");
    setWindowTitle("Form1");
    setWindowIcon(programIcon());
    setWindowFlag(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(pixels(7545), pixels(7815));

    // The box is wider and taller than the window: a strip of background shows above
    // it, and the window cuts off its sides and bottom.
    picture1_->setObjectName("Picture1");
    picture1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture1_->setLineWidth(2);
    picture1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture1_->setPixmap(splashPicture());
    picture1_->setGeometry(pixels(-120), pixels(120), pixels(7815), pixels(8175));

    timer1_.setObjectName("Timer1");
    timer1_.setSingleShot(true);
    // The main window is shown before this one closes, so that the program never
    // passes through a moment without windows, which would end it.
    connect(&timer1_, &QTimer::timeout, this, [this] {
        emit finished();
        close();
    });
    timer1_.start(1000);
}

}  // namespace kartovex
