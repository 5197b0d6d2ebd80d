#pragma once

#include <QPixmap>
#include <QString>

// An SVG resource drawn proportionally into a box, sharp on high-density screens.
// The picture touches the box's left and top edges; what it does not fill stays clear.
QPixmap svgPicture(const QString &resource, int boxWidth, int boxHeight, qreal devicePixelRatio);
