#include "preview/ui/PreviewGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(40, 40, 40);
const QColor kBlue(30, 90, 180);
const QColor kPaper(255, 255, 255);
const QColor kGrey(150, 150, 150);

void printer(QPainter& p, qreal y0)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(5.5, y0 + 0.5, 9, 5));                 // paper going in
    p.setBrush(QColor(190, 190, 190));
    p.drawRoundedRect(QRectF(1.5, y0 + 5.5, 17, 7), 1.5, 1.5); // body
    p.setBrush(kPaper);
    p.drawRect(QRectF(5.5, y0 + 10.5, 9, 6));                // paper coming out
    p.setPen(QPen(kGrey, 1));
    p.drawLine(QPointF(7, y0 + 13), QPointF(13, y0 + 13));
    p.drawLine(QPointF(7, y0 + 15), QPointF(11, y0 + 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 160, 60));
    p.drawEllipse(QPointF(15.5, y0 + 8), 1, 1);
}

void triangle(QPainter& p, qreal tipX, bool right)
{
    QPainterPath path;
    const qreal baseX = right ? tipX - 7 : tipX + 7;
    path.moveTo(tipX, 10);
    path.lineTo(baseX, 3);
    path.lineTo(baseX, 17);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPath(path);
}

void bar(QPainter& p, qreal x)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRect(QRectF(x, 3, 2.5, 14));
}

void magnifier(QPainter& p, bool plus)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(230, 240, 255));
    p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.5, 12.5), QPointF(17.5, 17.5));
    p.setPen(QPen(kBlue, 1.8));
    p.drawLine(QPointF(5, 8), QPointF(11, 8));
    if (plus)
        p.drawLine(QPointF(8, 5), QPointF(8, 11));
}

void page(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(QPen(kGrey, 1));
    for (qreal y = r.top() + 3; y < r.bottom() - 2; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void draw(QPainter& p, PreviewGlyphs::Glyph glyph)
{
    switch (glyph) {
    case PreviewGlyphs::Print:
        printer(p, 1);
        break;
    case PreviewGlyphs::PrinterSetup:
        printer(p, 1);
        p.setPen(QPen(kBlue, 1.5));
        p.setBrush(QColor(230, 240, 255));
        p.drawEllipse(QPointF(15, 15), 3.5, 3.5);
        break;
    case PreviewGlyphs::FirstPage:
        bar(p, 3);
        triangle(p, 6, false);
        triangle(p, 11, false);
        break;
    case PreviewGlyphs::PriorPage:
        triangle(p, 6, false);
        break;
    case PreviewGlyphs::NextPage:
        triangle(p, 14, true);
        break;
    case PreviewGlyphs::LastPage:
        triangle(p, 9, true);
        triangle(p, 14, true);
        bar(p, 14.5);
        break;
    case PreviewGlyphs::ZoomDown:
        magnifier(p, false);
        break;
    case PreviewGlyphs::ZoomUp:
        magnifier(p, true);
        break;
    case PreviewGlyphs::PageWhole:
        p.setPen(QPen(kBlue, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 1.5, 17, 17));
        page(p, QRectF(6.5, 3.5, 7, 13));
        break;
    case PreviewGlyphs::PageWidth: {
        page(p, QRectF(3.5, 1.5, 13, 17));
        p.setPen(QPen(kBlue, 1.5));
        p.drawLine(QPointF(1.5, 10), QPointF(18.5, 10));
        QPainterPath heads;
        heads.moveTo(1, 10);
        heads.lineTo(4.5, 7);
        heads.lineTo(4.5, 13);
        heads.closeSubpath();
        heads.moveTo(19, 10);
        heads.lineTo(15.5, 7);
        heads.lineTo(15.5, 13);
        heads.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPath(heads);
        break;
    }
    case PreviewGlyphs::Close:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(160, 110, 60));
        p.drawRect(QRectF(4.5, 1.5, 11, 17)); // door
        p.setBrush(QColor(240, 200, 60));
        p.drawEllipse(QPointF(13, 10), 1, 1);
        p.setPen(QPen(QColor(200, 40, 40), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(1, 17), QPointF(5, 13));
        break;
    }
}

QPixmap pixmap(PreviewGlyphs::Glyph glyph, int scale)
{
    QPixmap pm(PreviewGlyphs::Size * scale, PreviewGlyphs::Size * scale);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    draw(p, glyph);
    p.end();
    pm.setDevicePixelRatio(scale);
    return pm;
}

} // namespace

QIcon PreviewGlyphs::icon(Glyph glyph)
{
    QIcon icon;
    icon.addPixmap(pixmap(glyph, 1));
    icon.addPixmap(pixmap(glyph, 2));
    return icon;
}
