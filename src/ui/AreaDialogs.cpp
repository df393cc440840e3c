#include "AreaDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <cmath>

#include "LiftedBusyCursor.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

constexpr int kProgressSteps = 1000;

QLabel* figure(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace

AreaDialogs::~AreaDialogs() = default;

QString durationText(double seconds) {
    const long s = std::lround(std::max(0.0, seconds));
    if (s >= 3600) return QStringLiteral("%1 h %2 min").arg(s / 3600).arg(s % 3600 / 60);
    if (s >= 60) return QStringLiteral("%1 min %2 s").arg(s / 60).arg(s % 60);
    return QStringLiteral("%1 s").arg(s);
}

std::optional<int> AreaDialogs::chooseDetail(int detail,
                                             const std::function<AreaEstimate(int)>& figures) {
    LiftedBusyCursor lifted;
    QDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("captureAreaDialog"));
    dialog.setWindowTitle(QStringLiteral("Capture area"));
    auto* form = new QFormLayout(&dialog);
    auto* spin = new QSpinBox(&dialog);
    spin->setObjectName(QStringLiteral("detail"));
    spin->setRange(AreaPlan::kLeastDetail, AreaPlan::kMostDetail);
    spin->setSuffix(QStringLiteral(" x the view's detail"));
    spin->setValue(detail);
    QLabel* views = figure(&dialog, "views");
    QLabel* resolution = figure(&dialog, "groundResolution");
    QLabel* size = figure(&dialog, "mosaicSize");
    QLabel* time = figure(&dialog, "timeEstimate");
    form->addRow(QStringLiteral("Detail:"), spin);
    form->addRow(QStringLiteral("Views:"), views);
    form->addRow(QStringLiteral("Ground resolution:"), resolution);
    form->addRow(QStringLiteral("Mosaic size:"), size);
    form->addRow(QStringLiteral("Time, about:"), time);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    const auto show = [&](int d) {
        try {
            const AreaEstimate e = figures(d);
            views->setText(QString::number(e.views));
            resolution->setText(QStringLiteral("%1 m/px").arg(e.metresPerPixel, 0, 'g', 3));
            size->setText(QStringLiteral("%1 x %2 px").arg(e.mosaicWidth).arg(e.mosaicHeight));
            time->setText(durationText(e.seconds));
            buttons->button(QDialogButtonBox::Ok)->setEnabled(true);
        } catch (const RuntimeError& e) {
            views->setText(QString::fromStdString(e.description()));
            buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
        }
    };
    QObject::connect(spin, &QSpinBox::valueChanged, &dialog, show);
    show(detail);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return spin->value();
}

bool AreaDialogs::continueEarlier(const AreaManifest& manifest, const std::string& folder) {
    LiftedBusyCursor lifted;
    const auto answer = QMessageBox::question(
        parent_, QStringLiteral("Capture area"),
        QStringLiteral("An unfinished capture of this folder has %1 of %2 views: %3\n\nContinue "
                       "it? No starts a new capture and leaves those views as they are.")
            .arg(manifest.taken.size())
            .arg(manifest.plan.views.size())
            .arg(QString::fromStdString(folder)),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return answer == QMessageBox::Yes;
}

bool AreaDialogs::progress(const AreaProgress& p) {
    if (!progress_) {
        progress_ = std::make_unique<QProgressDialog>(QString(), QStringLiteral("Cancel"), 0,
                                                      kProgressSteps, parent_);
        progress_->setObjectName(QStringLiteral("captureAreaProgress"));
        progress_->setWindowTitle(QStringLiteral("Capture area"));
        progress_->setWindowModality(Qt::WindowModal);
        // Above the main window, which stays on top of Google Earth.
        progress_->setWindowFlag(Qt::WindowStaysOnTopHint);
        progress_->setAutoClose(false);
        progress_->setAutoReset(false);
        progress_->setMinimumDuration(0);
        progress_->show();
    }
    QString text =
        p.phase == AreaPhase::Mosaic
            ? QStringLiteral("All %1 views taken: %2").arg(p.views).arg(phaseText(p.phase))
            : QStringLiteral("View %1 of %2: %3")
                  .arg(p.view)
                  .arg(p.views)
                  .arg(QLatin1String(phaseText(p.phase)));
    if (p.secondsLeft > 0)
        text += QStringLiteral("\nAbout %1 left").arg(durationText(p.secondsLeft));
    progress_->setLabelText(text);
    progress_->setValue(p.views ? static_cast<int>(kProgressSteps * (p.view - 1) / p.views) : 0);
    QApplication::processEvents();
    return !progress_->wasCanceled();
}

}  // namespace kartovex
