#pragma once

#include <optional>
#include <string>

namespace kartovex {

struct CommonDialog;

// Modal message boxes.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // The information icon and a single OK button.
    virtual void information(const std::string& text, const std::string& title) = 0;
    // Yes and No, No the default: true for Yes.
    virtual bool question(const std::string& text, const std::string& title) = 0;
};

// A short note of what was written and where: it takes no click, goes away by itself and
// offers to open the folder.
class NoticeService {
public:
    virtual ~NoticeService() = default;
    virtual void notice(const std::string& text, const std::string& folder) = 0;
};

// The platform's open-file dialog. Returns the picked file's full path, or nothing when
// the user cancels or closes the dialog.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual std::optional<std::string> showOpen(const CommonDialog& settings) = 0;
};

}  // namespace kartovex
