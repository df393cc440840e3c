#include "MainWindowModel.h"

#include <stdexcept>

#include "Form2Layout.h"

namespace kartovex {

MainWindowModel::MainWindowModel() {
    for (const auto& control : form2Controls())
        texts_.emplace(std::string(control.name), std::string(control.caption));
}

std::string& MainWindowModel::slot(std::string_view control) {
    auto it = texts_.find(control);
    if (it == texts_.end()) throw std::out_of_range("no control named " + std::string(control));
    return it->second;
}

const std::string& MainWindowModel::caption(std::string_view control) const {
    return const_cast<MainWindowModel*>(this)->slot(control);
}

void MainWindowModel::setCaption(std::string_view control, std::string text) {
    std::string& s = slot(control);
    if (s == text) return;
    s = std::move(text);
    if (listener_) listener_(std::string(control));
}

const std::string& MainWindowModel::text(std::string_view textBox) const {
    return caption(textBox);
}

void MainWindowModel::setText(std::string_view textBox, std::string text) {
    setCaption(textBox, std::move(text));
}

}  // namespace kartovex
