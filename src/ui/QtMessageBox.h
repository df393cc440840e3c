#pragma once

#include "model/Services.h"

class QWidget;

namespace kartovex {

class QtMessageBox : public MessageBoxService {
public:
    void information(const std::string& text, const std::string& title) override;
    bool question(const std::string& text, const std::string& title) override;
};

}  // namespace kartovex
