#include "postcard/CardPicture.h"

#include "platform/PrinterDriver.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <cmath>

namespace CardPicture {

QImage postStamp()
{
    QImage img(kStampWidth, kStampHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);

    // The stamp's paper with a perforated edge: a pale sheet with round bites along its sides.
    const QColor paper(0xF4, 0xF1, 0xE6);
    p.fillRect(QRectF(1, 1, kStampWidth - 2, kStampHeight - 2), paper);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    constexpr qreal r = 2.2;
    for (qreal x = 4; x < kStampWidth - 2; x += 6) {
        p.drawEllipse(QPointF(x, 1), r, r);
        p.drawEllipse(QPointF(x, kStampHeight - 1), r, r);
    }
    for (qreal y = 4; y < kStampHeight - 2; y += 6) {
        p.drawEllipse(QPointF(1, y), r, r);
        p.drawEllipse(QPointF(kStampWidth - 1, y), r, r);
    }

    // The printed field.
    const QRectF field(7, 7, kStampWidth - 14, kStampHeight - 14);
    p.setBrush(QColor(0x2A, 0x5C, 0xAA));
    p.setPen(QPen(QColor(0x1A, 0x3C, 0x78), 1));
    p.drawRect(field);

    // The 〒 mark: two bars and a stem, in red with a white rim.
    const qreal cx = field.center().x();
    const qreal top = field.top() + 16;
    QPainterPath mark;
    mark.addRect(QRectF(cx - 19, top, 38, 7));
    mark.addRect(QRectF(cx - 19, top + 14, 38, 7));
    mark.addRect(QRectF(cx - 3.5, top + 14, 7, 34));
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(0xE0, 0x1E, 0x1E));
    p.drawPath(mark.simplified());
    p.end();
    return img;
}

QImage background()
{
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(255, 0, 0), 1));
    for (int left : kBoxLefts) {
        const QPolygon box({QPoint(left, kBoxTop), QPoint(left + kBoxWidth, kBoxTop),
                            QPoint(left + kBoxWidth, kBoxBottom), QPoint(left, kBoxBottom), QPoint(left, kBoxTop)});
        p.drawPolyline(box);
    }
    p.drawLine(242, 60, 250, 60);
    p.drawImage(kStampLeft, kStampTop, postStamp());
    p.end();
    return img;
}

QRect printableArea(const DeviceValues& d)
{
    if (d.logPixelsX <= 0)
        return QRect();
    auto px = [&](int v) { return int(std::trunc(double(v) * 254.0 / d.logPixelsX * 0.37795 + 0.5)); };
    return QRect(px(d.physicalOffsetX), px(d.physicalOffsetY), px(d.horzRes), px(d.vertRes));
}

void drawPrintableArea(QImage& card, const QRect& a)
{
    if (a.isNull())
        return;
    QPainter p(&card);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(192, 192, 192), 1));
    const int x0 = a.x(), y0 = a.y(), w = a.width(), h = a.height();
    p.drawPolyline(QPolygon({QPoint(x0, y0), QPoint(x0 + w, y0), QPoint(x0 + w, y0 + h), QPoint(x0, y0 + h),
                             QPoint(x0, y0)}));
}

} // namespace CardPicture
