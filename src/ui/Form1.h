#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

namespace kartovex {

// The splash window: borderless, shows the program's picture for one second, then
// hands over to the main window. It reacts to no click and no key.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

signals:
    // Timer1's one tick: time for the main window.
    void finished();

private:
    QLabel* picture1_;
    QTimer timer1_;
};

}  // namespace kartovex
