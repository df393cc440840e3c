#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QToolBar>

class CameraMotion;
class EarthView;
class NetworkLinkClient;

// The simulator's main window: the view with a tool bar above it and a status bar below
// it, or, full screen, the view alone, covering the whole screen.
class EarthWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit EarthWindow(CameraMotion& motion, QWidget* parent = nullptr);

    EarthView& view() { return *view_; }
    // Offers "Open" (Ctrl+O): a KML file whose network link `link` then refreshes.
    void offerOpen(NetworkLinkClient& link);
    QToolBar& toolBar() { return *toolBar_; }

public slots:
    void toggleFullScreen();
    // "Save Image": asks for a file name, then writes the view's picture as a JPG. The
    // dialog opens in the folder of the last picture saved.
    void saveImageAs();
    // "Go To": asks for a place, then flies there.
    void goTo();

private:
    void showCamera();
    void showPointer(double latitude, double longitude, bool onGround);

    CameraMotion& motion_;
    EarthView* view_;
    QToolBar* toolBar_;
    QLabel* cameraText_;
    QLabel* pointerText_;
    QRect normalGeometry_;
    QString saveFolder_;
};
