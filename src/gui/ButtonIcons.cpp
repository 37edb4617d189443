#include "ButtonIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tickforge {

namespace {

constexpr int IconSize = 32;

QPixmap BlankPixmap()
{
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// An arrow from the centre towards the corner (dx, dy) of a 32 x 32 square.
void DrawCornerArrow(QPainter& painter, int dx, int dy)
{
    const QPointF tip(16 + dx * 13, 16 + dy * 13);
    const QPointF tail(16 + dx * 4, 16 + dy * 4);
    painter.drawLine(tail, tip);
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip.x() - dx * 7, tip.y());
    head.lineTo(tip.x(), tip.y() - dy * 7);
    head.closeSubpath();
    painter.fillPath(head, painter.pen().color());
}

}  // namespace

QIcon ExpandChartIcon()
{
    QPixmap pixmap = BlankPixmap();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 70, 140), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int dx : {-1, 1})
        for (int dy : {-1, 1})
            DrawCornerArrow(painter, dx, dy);
    return QIcon(pixmap);
}

QIcon AboutIcon()
{
    QPixmap pixmap = BlankPixmap();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 50, 120), 1.5));
    painter.setBrush(QColor(60, 110, 200));
    painter.drawEllipse(QRectF(2, 2, 28, 28));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(14, 7, 4.5, 4.5));
    painter.drawRoundedRect(QRectF(14, 13.5, 4.5, 12), 1.5, 1.5);
    return QIcon(pixmap);
}

}  // namespace tickforge
