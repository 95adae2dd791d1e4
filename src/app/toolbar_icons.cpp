#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vm880 {

namespace {

const QColor kInk(40, 60, 90);
const QColor kBlue(50, 110, 200);
const QColor kGreen(40, 150, 70);
const QColor kRed(200, 60, 50);
const QColor kPaper(250, 250, 245);
const QColor kFolder(235, 190, 80);

void drawFolder(QPainter& p)
{
    QPainterPath back;
    back.moveTo(3, 9);
    back.lineTo(12, 9);
    back.lineTo(15, 12);
    back.lineTo(29, 12);
    back.lineTo(29, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.setBrush(kFolder.darker(115));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(3, 27);
    front.lineTo(7, 16);
    front.lineTo(31, 16);
    front.lineTo(29, 27);
    front.closeSubpath();
    p.setBrush(kFolder);
    p.drawPath(front);
}

void drawDisk(QPainter& p)
{
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 4, 14, 9));
    p.setBrush(kInk);
    p.drawRect(QRectF(18, 6, 3, 5));
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 17, 16, 11));
}

void drawArrow(QPainter& p, bool down, const QColor& colour)
{
    // A tray with an arrow into it (down) or out of it (up).
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(QRectF(4, 22, 24, 6));
    QPolygonF arrow;
    if (down)
        arrow << QPointF(12, 3) << QPointF(20, 3) << QPointF(20, 12) << QPointF(25, 12)
              << QPointF(16, 21) << QPointF(7, 12) << QPointF(12, 12);
    else
        arrow << QPointF(12, 21) << QPointF(20, 21) << QPointF(20, 12) << QPointF(25, 12)
              << QPointF(16, 3) << QPointF(7, 12) << QPointF(12, 12);
    p.setBrush(colour);
    p.drawPolygon(arrow);
}

void drawReset(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kRed, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(6, 6, 20, 20), 120 * 16, 300 * 16);
    p.setPen(QPen(kInk, 1));
    p.setBrush(kRed);
    p.drawPolygon(QPolygonF() << QPointF(6, 4) << QPointF(14, 9) << QPointF(5, 13));
}

void drawClock(QPainter& p)
{
    p.setBrush(kPaper);
    p.drawEllipse(QRectF(4, 4, 24, 24));
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(16, 8));
    p.drawLine(QPointF(16, 16), QPointF(22, 19));
    p.setPen(QPen(kGreen, 1.5));
    for (int h = 0; h < 12; ++h) {
        p.save();
        p.translate(16, 16);
        p.rotate(30 * h);
        p.drawLine(QPointF(0, -10.5), QPointF(0, -9));
        p.restore();
    }
}

QPixmap drawn(ToolIcon which, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(kInk, 1));
    switch (which) {
    case ToolIcon::Open: drawFolder(p); break;
    case ToolIcon::Save: drawDisk(p); break;
    case ToolIcon::Download: drawArrow(p, true, kGreen); break;
    case ToolIcon::Upload: drawArrow(p, false, kBlue); break;
    case ToolIcon::Reset: drawReset(p); break;
    case ToolIcon::Clock: drawClock(p); break;
    }
    return pixmap;
}

} // namespace

QIcon ToolbarIcon(ToolIcon which)
{
    QIcon own;
    for (int size : {16, 24, 32, 48})
        own.addPixmap(drawn(which, size));
    switch (which) {
    case ToolIcon::Open: return QIcon::fromTheme(QStringLiteral("document-open"), own);
    case ToolIcon::Save: return QIcon::fromTheme(QStringLiteral("document-save"), own);
    default: return own;
    }
}

} // namespace vm880
