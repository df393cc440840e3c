#pragma once

#include <string>

#include "model/Services.h"

// A benchmark's press meets no one to read its boxes.
class NoMessages : public kartovex::MessageBoxService {
public:
    void information(const std::string&, const std::string&) override {}
    bool question(const std::string&, const std::string&) override { return false; }
};
