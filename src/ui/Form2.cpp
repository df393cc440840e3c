#include "Form2.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "Artwork.h"
#include "KeepOnTop.h"
#include "model/Form2Layout.h"

namespace kartovex {
namespace {

QString qt(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

// Button captions break at blanks onto further lines when they do not fit, as the
// platform's own buttons do.
QString wrapped(const QString& caption, const QFontMetrics& metrics, int width) {
    QStringList lines;
    for (const QString& word : caption.split(' ')) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.back() + ' ' + word) <= width)
            lines.back() += ' ' + word;
        else
            lines.append(word);
    }
    return lines.join('\n');
}

QColor colour(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

void paint(QWidget& w, QPalette::ColorRole backRole, QPalette::ColorRole textRole,
           const ControlSpec& design) {
    QPalette palette = w.palette();
    if (design.back) palette.setColor(backRole, colour(*design.back));
    if (design.fore) palette.setColor(textRole, colour(*design.fore));
    w.setPalette(palette);
}

QLabel* makeLabel(const ControlSpec& design, QWidget* parent) {
    auto* label = new QLabel(qt(design.caption), parent);
    // Labels are opaque and, like every label of the design, use the button colours.
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Button);
    label->setForegroundRole(QPalette::ButtonText);
    paint(*label, QPalette::Button, QPalette::ButtonText, design);
    label->setAlignment((design.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    label->setWordWrap(!design.autoSize);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

Form2::Form2(MainWindowModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    const WindowSpec window = form2Window();
    setObjectName("Form2");
    setWindowTitle(qt(window.caption));
    setWindowIcon(programIcon());
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour(window.back));
    setPalette(palette);
    // The design assumes half-width characters about 6 pixels wide and 12 high: a sans
    // face with Arial's metrics at 11 pixels; full-width marks fall back to a CJK face.
    QFont design(QStringLiteral("Liberation Sans"));
    design.setStyleHint(QFont::SansSerif);
    design.setPixelSize(11);
    setFont(design);
    buildMenu();
    client_ = new QWidget(this);
    client_->setObjectName("client");
    const int menuHeight = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, pixels(window.clientWidth), menuHeight);
    client_->setGeometry(0, menuHeight, pixels(window.clientWidth), pixels(window.clientHeight));
    resize(pixels(window.clientWidth), menuHeight + pixels(window.clientHeight));
    build();
    model_.setListener([this](const std::string& control) { display(control); });
}

Form2::~Form2() {
    model_.setListener({});
}

void Form2::build() {
    std::vector<const ControlSpec*> focusable;
    for (const ControlSpec& design : form2Controls()) {
        QWidget* parent = design.inFrame ? static_cast<QWidget*>(frame1_) : client_;
        QWidget* widget = nullptr;
        switch (design.kind) {
            case ControlKind::Label:
                widget = makeLabel(design, parent);
                break;
            case ControlKind::Button: {
                auto* button = new QPushButton(parent);
                button->setText(
                    wrapped(qt(design.caption), button->fontMetrics(), pixels(design.width) - 6));
                const std::string name(design.name);
                connect(button, &QPushButton::clicked, this, [this, name] {
                    if (auto it = commands_.find(name); it != commands_.end() && it->second)
                        it->second();
                });
                widget = button;
                focusable.push_back(&design);
                break;
            }
            case ControlKind::TextBox: {
                auto* box = new QLineEdit(parent);
                const std::string name(design.name);
                connect(box, &QLineEdit::textChanged, this,
                        [this, name](const QString& t) { model_.setText(name, t.toStdString()); });
                widget = box;
                focusable.push_back(&design);
                break;
            }
            case ControlKind::Frame:
                frame1_ = new QGroupBox(qt(design.caption), parent);
                frame1_->setAutoFillBackground(true);
                paint(*frame1_, QPalette::Window, QPalette::WindowText, design);
                widget = frame1_;
                break;
        }
        widget->setObjectName(qt(design.name));
        widget->setGeometry(pixels(design.left), pixels(design.top), pixels(design.width),
                            pixels(design.height));
        if (design.autoSize) widget->adjustSize();
        controls_.emplace(std::string(design.name), widget);
    }

    std::sort(focusable.begin(), focusable.end(),
              [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 1; i < focusable.size(); ++i)
        setTabOrder(controls_.at(std::string(focusable[i - 1]->name)),
                    controls_.at(std::string(focusable[i]->name)));
    controls_.at(std::string(focusable.front()->name))->setFocus();
}

void Form2::buildMenu() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName("menuBar");
    // In the window on every system, so that the client area below it keeps its design.
    menuBar_->setNativeMenuBar(false);
    QMenu* capture = menuBar_->addMenu(tr("&Capture"));
    capture->setObjectName("captureMenu");
    const auto add = [&](const char* name, const QString& caption) {
        QAction* action = capture->addAction(caption);
        action->setObjectName(name);
        action->setEnabled(false);
        const std::string command(name);
        connect(action, &QAction::triggered, this, [this, command] {
            if (auto it = commands_.find(command); it != commands_.end() && it->second)
                it->second();
        });
        menuCommands_.emplace(command, action);
    };
    add("captureView", tr("Capture view"));
    add("captureArea", tr("Capture area\u2026"));
    capture->addSeparator();
    add("outputFolder", tr("Output folder\u2026"));
}

void Form2::setCommand(const std::string& button, std::function<void()> command) {
    if (auto it = menuCommands_.find(button); it != menuCommands_.end())
        it->second->setEnabled(static_cast<bool>(command));
    commands_[button] = std::move(command);
}

void Form2::display(const std::string& control) {
    QWidget* widget = controls_.at(control);
    const QString text = QString::fromStdString(model_.caption(control));
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
        if (form2Control(control).autoSize) label->adjustSize();
    } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        if (box->text() != text) box->setText(text);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(wrapped(text, button->fontMetrics(), button->width() - 6));
    }
}

void Form2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        keepOnTop(*this);
        controls_.at("Command3")->setFocus();
    }
}

void Form2::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int menuHeight = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, width(), menuHeight);
    client_->setGeometry(0, menuHeight, width(), height() - menuHeight);
    if (shown_) keepOnTop(*this);
}

// Enter presses the focused button as Space does, as on the platform's own dialogs.
void Form2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

}  // namespace kartovex
