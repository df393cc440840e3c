#include "Artwork.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace kartovex {
namespace {

const QColor kTeal(0, 128, 128);
const QColor kSea(32, 96, 160);
const QColor kLand(120, 160, 80);

// A globe with a graticule and a map corner mark: what the program turns into what.
void drawGlobe(QPainter& p, const QRectF& box, qreal line) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kSea);
    p.drawEllipse(box);
    QPainterPath globe;
    globe.addEllipse(box);
    p.setClipPath(globe);
    p.setBrush(kLand);
    const qreal w = box.width();
    p.drawEllipse(QRectF(box.left() + 0.15 * w, box.top() + 0.2 * w, 0.45 * w, 0.3 * w));
    p.drawEllipse(QRectF(box.left() + 0.5 * w, box.top() + 0.55 * w, 0.35 * w, 0.25 * w));
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 200), line));
    for (int i = 1; i < 4; ++i) {
        const qreal f = i / 4.0;
        p.drawLine(QPointF(box.left() + f * w, box.top() + 0.5 * w - std::sqrt(f * (1 - f)) * w),
                   QPointF(box.left() + f * w, box.top() + 0.5 * w + std::sqrt(f * (1 - f)) * w));
        p.drawLine(QPointF(box.left() + 0.5 * w - std::sqrt(f * (1 - f)) * w, box.top() + f * w),
                   QPointF(box.left() + 0.5 * w + std::sqrt(f * (1 - f)) * w, box.top() + f * w));
    }
    p.setPen(QPen(Qt::white, line * 1.5));
    p.drawEllipse(box);
}

}  // namespace

QIcon programIcon() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        drawGlobe(p, QRectF(2, 2, 28, 28), 1.0);
        p.setPen(QPen(QColor(255, 220, 0), 2));
        p.drawLine(QPointF(3, 3), QPointF(11, 3));
        p.drawLine(QPointF(3, 3), QPointF(3, 11));
        p.drawLine(QPointF(29, 29), QPointF(21, 29));
        p.drawLine(QPointF(29, 29), QPointF(29, 21));
    }
    return QIcon(QPixmap::fromImage(image.convertToFormat(QImage::Format_Indexed8)));
}

QPixmap splashPicture() {
    QImage image(512, 512, QImage::Format_RGB888);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, 512);
    sky.setColorAt(0, kTeal.darker(160));
    sky.setColorAt(1, kTeal);
    p.fillRect(image.rect(), sky);
    drawGlobe(p, QRectF(96, 60, 320, 320), 3.0);
    p.setPen(QPen(QColor(255, 220, 0), 6));
    p.drawPolyline(QPolygonF({QPointF(80, 110), QPointF(80, 44), QPointF(146, 44)}));
    p.drawPolyline(QPolygonF({QPointF(432, 330), QPointF(432, 396), QPointF(366, 396)}));
    p.setPen(Qt::white);
    QFont title = p.font();
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(0, 400, 512, 56), Qt::AlignCenter, QStringLiteral("Kartovex"));
    QFont line = p.font();
    line.setPixelSize(16);
    line.setBold(false);
    p.setFont(line);
    p.drawText(QRectF(0, 456, 512, 30), Qt::AlignCenter,
               QStringLiteral("Google Earth view to MapInfo raster"));
    p.end();
    return QPixmap::fromImage(image);
}

}  // namespace kartovex
