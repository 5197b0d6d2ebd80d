#include "svgpicture.h"

#include <QPainter>
#include <QSvgRenderer>

QPixmap svgPicture(const QString &resource, int boxWidth, int boxHeight, qreal devicePixelRatio)
{
    QSvgRenderer renderer(resource);
    if (!renderer.isValid())
        return {};
    const QSizeF size = QSizeF(renderer.defaultSize()).scaled(boxWidth, boxHeight, Qt::KeepAspectRatio);
    QPixmap pixmap((size * devicePixelRatio).toSize());
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return pixmap;
}
