#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

#include "model/MainWindowModel.h"

class QLabel;

namespace kartovex {

// The image size probe window. Loading it measures the picked picture from the file's
// header, without decoding the pixels, and leaves width − 1 and height − 1 in Module1;
// Timer1 closes it 300 ms later. The preview it shows is decoded at a reduced scale only
// once the command that showed the window has returned to the event loop, so it never
// delays that command's files. It deletes itself when it closes.
class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

    // Form_Load. Throws RuntimeError InvalidPicture, leaving `module` as it was, when Qt
    // cannot read the file as a picture.
    void load(const QString& path, Module1& module);

private:
    void showPreview();

    QLabel* picture1_;
    QTimer timer1_;
    QString path_;
};

}  // namespace kartovex
