#include "QtNotice.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "model/qt/QtLog.h"

namespace kartovex {
namespace {

QPointer<QFrame> shownNotice;

}  // namespace

void QtNotice::notice(const std::string& text, const std::string& folder) {
    const QString says = QString::fromStdString(text);
    qCInfo(georefLog).noquote() << says;
    delete shownNotice.data();

    QWidget* owner = owner_ ? owner_.data() : QApplication::activeWindow();
    auto* frame = new QFrame(owner, Qt::Tool | Qt::FramelessWindowHint);
    frame->setObjectName(QStringLiteral("Notice"));
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setAttribute(Qt::WA_ShowWithoutActivating);
    frame->setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(frame);
    auto* label = new QLabel(says.toHtmlEscaped().replace(QLatin1Char('\n'), "<br>"), frame);
    label->setObjectName(QStringLiteral("NoticeText"));
    label->setTextFormat(Qt::RichText);
    layout->addWidget(label);
    // A folder prefix may use backslashes, as Windows paths do.
    const QString path = QDir::fromNativeSeparators(QString::fromStdString(folder));
    auto* open = new QLabel(QStringLiteral("<a href=\"%1\">Open the folder</a>")
                                .arg(QUrl::fromLocalFile(path).toString().toHtmlEscaped()),
                            frame);
    open->setObjectName(QStringLiteral("NoticeOpenFolder"));
    open->setTextFormat(Qt::RichText);
    QObject::connect(open, &QLabel::linkActivated,
                     [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
    layout->addWidget(open);
    frame->adjustSize();
    if (owner) {
        // Below the window where the screen has room, else over its foot.
        const QRect area = owner->frameGeometry();
        const QRect screen = owner->screen()->availableGeometry();
        const int below = area.bottom() + 4;
        frame->move(std::max(screen.left(), area.left()), below + frame->height() <= screen.bottom()
                                                              ? below
                                                              : area.bottom() - frame->height());
    }
    QTimer::singleShot(lasting_, frame, &QWidget::close);
    shownNotice = frame;
    frame->show();
}

}  // namespace kartovex
