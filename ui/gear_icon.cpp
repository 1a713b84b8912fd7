// Drawing the gear icon with QPainter.
#include "ui/gear_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <cmath>

#include "math/constants.h"

namespace tarvo::ui {

namespace {

// Ten teeth read as a gear even at 16 pixels; more would blur into a disc.
constexpr int kIconTeeth = 10;

QPixmap GearPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const double centre = size / 2.0;
    const double tip = size * 0.48;   // tip circle
    const double root = size * 0.36;  // root circle
    const double bore = size * 0.14;
    QPolygonF rim;
    // Each tooth: root, flank up, tip land, flank down; a trapezoid reads best at small sizes.
    for (int k = 0; k < kIconTeeth; ++k) {
        const double pitch = 2 * kPi / kIconTeeth;
        const double a = k * pitch;
        const double corners[4][2] = {{a - 0.30 * pitch, root},
                                      {a - 0.17 * pitch, tip},
                                      {a + 0.17 * pitch, tip},
                                      {a + 0.30 * pitch, root}};
        for (const auto& corner : corners) {
            rim << QPointF(centre + corner[1] * std::cos(corner[0]),
                           centre + corner[1] * std::sin(corner[0]));
        }
    }
    QPainterPath gear;
    gear.addPolygon(rim);
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(centre, centre), bore, bore);
    gear = gear.subtracted(hole);

    painter.setPen(QPen(QColor(0x30, 0x38, 0x40), size >= 32 ? 1.5 : 1.0));
    painter.setBrush(QColor(0x80, 0x90, 0xA0));
    painter.drawPath(gear);
    return pixmap;
}

}  // namespace

QIcon GearIcon() {
    QIcon icon;
    icon.addPixmap(GearPixmap(16));
    icon.addPixmap(GearPixmap(32));
    return icon;
}

}  // namespace tarvo::ui
