#include "EarthWindow.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>

#include "CameraMotion.h"
#include "EarthView.h"
#include "GoToBox.h"
#include "NetworkLinkClient.h"

namespace {

constexpr int kJpegQuality = 95;
constexpr double kGoToSpeed = 2.0;  // a flight of two seconds

QString degrees(double value, char positive, char negative) {
    return QString::number(std::abs(value), 'f', 5) + QChar(0x00B0) + ' ' +
           QChar(value < 0 ? negative : positive);
}

}  // namespace

EarthWindow::EarthWindow(CameraMotion& motion, QWidget* parent)
    : QMainWindow(parent),
      motion_(motion),
      view_(new EarthView(motion, this)),
      toolBar_(new QToolBar(tr("View"), this)),
      cameraText_(new QLabel(this)),
      pointerText_(new QLabel(this)) {
    setWindowTitle(tr("Google Earth simulator"));
    setCentralWidget(view_);
    toolBar_->setMovable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addToolBar(Qt::TopToolBarArea, toolBar_);

    // Added to the window too, so the shortcuts work while full screen hides the tool bar.
    auto add = [this](const QString& text, const QKeySequence& key, auto slot, auto* target) {
        auto* action = new QAction(text, this);
        action->setShortcut(key);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(text, key.toString()));
        connect(action, &QAction::triggered, target, slot);
        toolBar_->addAction(action);
        addAction(action);
        return action;
    };
    add(tr("Save Image"), QKeySequence(Qt::CTRL | Qt::Key_S), &EarthWindow::saveImageAs, this);
    add(tr("Full Screen"), QKeySequence(Qt::Key_F11), &EarthWindow::toggleFullScreen, this);
    add(tr("Go To"), QKeySequence(Qt::CTRL | Qt::Key_G), &EarthWindow::goTo, this);
    toolBar_->addSeparator();
    add(tr("Zoom In"), QKeySequence(Qt::Key_Plus), &EarthView::zoomIn, view_);
    add(tr("Zoom Out"), QKeySequence(Qt::Key_Minus), &EarthView::zoomOut, view_);
    add(tr("North Up"), QKeySequence(Qt::Key_N), &EarthView::northUp, view_);
    add(tr("Look Down"), QKeySequence(Qt::Key_U), &EarthView::lookStraightDown, view_);
    add(tr("Reset View"), QKeySequence(Qt::Key_R), &EarthView::resetView, view_);

    statusBar()->addWidget(cameraText_, 1);
    statusBar()->addPermanentWidget(pointerText_);
    statusBar()->setToolTip(tr("Drag to pan, wheel to zoom, Up/Down to tilt, Left/Right to turn"));
    connect(&motion_, &CameraMotion::changed, this, &EarthWindow::showCamera);
    connect(view_, &EarthView::pointerOver, this, &EarthWindow::showPointer);
    showCamera();
    view_->setFocus();
}

void EarthWindow::offerOpen(NetworkLinkClient& link) {
    auto* action = new QAction(tr("Open"), this);
    action->setShortcut(QKeySequence::Open);
    action->setToolTip(
        tr("Open a KML file with a network link (%1)").arg(action->shortcut().toString()));
    connect(action, &QAction::triggered, this, [this, &link] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Open"), QDir::homePath(),
                                                          tr("KML file (*.kml)"));
        QString error;
        if (!path.isEmpty() && !link.open(path, error))
            QMessageBox::warning(this, tr("Open"), error);
    });
    toolBar_->insertAction(toolBar_->actions().value(0), action);
    addAction(action);
}

void EarthWindow::toggleFullScreen() {
    const bool full = !isFullScreen();
    toolBar_->setVisible(!full);
    statusBar()->setVisible(!full);
    // Without a window manager nobody resizes a full-screen window: size it ourselves.
    if (full) {
        normalGeometry_ = geometry();
        showFullScreen();
        if (QScreen* s = screen()) setGeometry(s->geometry());
    } else {
        showNormal();
        if (normalGeometry_.isValid()) setGeometry(normalGeometry_);
    }
}

void EarthWindow::saveImageAs() {
    const QDir folder(saveFolder_.isEmpty() ? QDir::homePath() : saveFolder_);
    QString path = QFileDialog::getSaveFileName(this, tr("Save Image"),
                                                folder.filePath(QStringLiteral("untitled.jpg")),
                                                tr("JPEG image (*.jpg *.jpeg)"));
    if (path.isEmpty()) return;
    saveFolder_ = QFileInfo(path).absolutePath();
    if (!path.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive) &&
        !path.endsWith(QStringLiteral(".jpeg"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".jpg");
    }
    QString error;
    if (!view_->saveImage(path, kJpegQuality, error)) {
        QMessageBox::warning(this, tr("Save Image"), error);
    }
}

void EarthWindow::goTo() {
    auto* box = new GoToBox(motion_.camera(), this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QDialog::accepted, this,
            [this, box] { motion_.flyTo(box->camera(), kGoToSpeed); });
    box->open();
}

void EarthWindow::showCamera() {
    const earthsim::Camera c = motion_.camera();
    cameraText_->setText(tr("Focus %1, %2   Range %3 km   Tilt %4%6   Heading %5%6")
                             .arg(degrees(c.latitude, 'N', 'S'), degrees(c.longitude, 'E', 'W'),
                                  QString::number(c.range / 1000.0, 'f', 3),
                                  QString::number(c.tilt, 'f', 1),
                                  QString::number(c.azimuth, 'f', 1), QChar(0x00B0)));
}

void EarthWindow::showPointer(double latitude, double longitude, bool onGround) {
    pointerText_->setText(
        onGround
            ? tr("Pointer %1, %2").arg(degrees(latitude, 'N', 'S'), degrees(longitude, 'E', 'W'))
            : tr("Pointer in the sky"));
}
