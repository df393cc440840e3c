#include "Form3Probe.h"

#include <memory>

#include "Form3.h"

namespace kartovex {

void Form3Probe::show(const std::string& path, Module1& module) {
    auto form = std::make_unique<Form3>();
    form->load(QString::fromStdString(path), module);
    form.release()->show();
}

}  // namespace kartovex
