#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "model/MainWindowModel.h"

class QAction;
class QGroupBox;
class QMenuBar;

namespace kartovex {

// The main window: draws every control of the model at its design place and size,
// shows each caption change at once, keeps the text boxes and the model in step and
// hands the five button presses to the commands. The layout is fixed. The controls stand
// in the client area below a menu bar, whose "Capture" menu holds the captures.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(MainWindowModel& model, QWidget* parent = nullptr);
    ~Form2() override;

    // What a button press runs, "Command1" to "Command5", or a menu command: "captureView",
    // "captureArea", "outputFolder". A menu command without one stays disabled.
    void setCommand(const std::string& button, std::function<void()> command);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    void buildMenu();
    void display(const std::string& control);

    MainWindowModel& model_;
    QMenuBar* menuBar_ = nullptr;
    QWidget* client_ = nullptr;
    std::map<std::string, QAction*> menuCommands_;
    QGroupBox* frame1_ = nullptr;
    std::map<std::string, QWidget*> controls_;
    std::map<std::string, std::function<void()>> commands_;
    bool shown_ = false;
};

}  // namespace kartovex
