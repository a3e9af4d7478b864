#include "cable/ui/cable_arrow.h"

#include <QPainter>
#include <QPolygonF>

namespace t27 {

QPixmap cable_arrow_pixmap(QSize size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    const qreal head = w * 0.4;  // length of the point
    const QPolygonF arrow({{0, h * 0.3},
                           {w - head, h * 0.3},
                           {w - head, 0},
                           {w, h / 2},
                           {w - head, h},
                           {w - head, h * 0.7},
                           {0, h * 0.7}});
    p.setPen(QPen(QColor(16, 32, 64), 1));
    p.setBrush(QColor(30, 111, 217));
    p.drawPolygon(arrow);
    return pm;
}

}  // namespace t27
