#pragma once

#include <QSettings>
#include <QString>
#include <optional>

#include "capture/CaptureFolder.h"

namespace kartovex {

// The capture folder: one given for this run, or the one the user chose, remembered in
// the settings; by default the user's pictures folder, subfolder Kartovex.
class QtCaptureFolder : public CaptureFolder {
public:
    explicit QtCaptureFolder(QSettings& settings);
    explicit QtCaptureFolder(QString forThisRun);

    QString folder() const;
    // Remembers `folder` for this and later runs.
    void choose(const QString& folder);

    std::string prepare() override;
    bool holdsNameStartingWith(const std::string& folder, const std::string& stem) override;

private:
    QSettings* settings_ = nullptr;
    QString forThisRun_;
};

}  // namespace kartovex
