#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <QWidget>
#include <memory>

#include "capture/AreaCommand.h"

namespace kartovex {

// "Capture area" on the screen: the dialog that shows the plan's figures and lets the user
// choose the detail before anything moves, the question to continue an unfinished capture,
// and a progress dialog with Cancel that keeps the windows painting.
class AreaDialogs : public AreaUser {
public:
    explicit AreaDialogs(QWidget* parent) : parent_(parent) {}
    ~AreaDialogs() override;

    std::optional<int> chooseDetail(int detail,
                                    const std::function<AreaEstimate(int)>& figures) override;
    bool continueEarlier(const AreaManifest& manifest, const std::string& folder) override;
    bool progress(const AreaProgress& progress) override;

private:
    QPointer<QWidget> parent_;
    std::unique_ptr<QProgressDialog> progress_;
};

// "1 h 5 min", "3 min 20 s", "45 s": a duration as a person reads it.
QString durationText(double seconds);

}  // namespace kartovex
