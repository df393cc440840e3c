#include "GoToBox.h"

#include <QDialogButtonBox>
#include <QFormLayout>

namespace {

QDoubleSpinBox* numberBox(const char* name, double lowest, double highest, int decimals,
                          const QString& suffix, double value, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(lowest, highest);
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    box->setValue(value);
    return box;
}

}  // namespace

GoToBox::GoToBox(const earthsim::Camera& from, QWidget* parent)
    : QDialog(parent),
      from_(from),
      latitude_(numberBox("latitude", -90, 90, 5, QStringLiteral("\u00B0"), from.latitude, this)),
      longitude_(
          numberBox("longitude", -180, 180, 5, QStringLiteral("\u00B0"), from.longitude, this)),
      range_(numberBox("range", earthsim::kMinRange, earthsim::kMaxRange, 0, QStringLiteral(" m"),
                       from.range, this)) {
    setObjectName(QStringLiteral("GoToBox"));
    setWindowTitle(tr("Go To"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Latitude (north positive)"), latitude_);
    form->addRow(tr("Longitude (east positive)"), longitude_);
    form->addRow(tr("Range"), range_);
    form->addRow(buttons);
}

earthsim::Camera GoToBox::camera() const {
    earthsim::Camera to = from_;
    to.latitude = latitude_->value();
    to.longitude = longitude_->value();
    to.range = range_->value();
    return to;
}
