#include "login/SkinRegion.h"

#include "errortrap/Bulwark.h"

#include <QPainterPath>
#include <QPolygon>

QRegion roundRectRegion(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    BW_TRACE("SkinRegion.cpp", "Function roundRectRegion");
    if (right <= left || bottom <= top)
        return QRegion();
    QPainterPath outline;
    outline.addRoundedRect(QRectF(left, top, right - left, bottom - top), cornerWidth / 2.0, cornerHeight / 2.0);
    return QRegion(outline.toFillPolygon().toPolygon());
}
