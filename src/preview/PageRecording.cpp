#include "preview/PageRecording.h"

#include "platform/VerticalText.h"

#include <QPainter>
#include <QSvgRenderer>

void PageRecording::reset(int width, int height)
{
    m_width = width;
    m_height = height;
    m_printableClip = QRectF();
    m_ops.clear();
}

QVector<const PageOp*> PageRecording::ofKind(PageOp::Kind kind, bool includePaper) const
{
    QVector<const PageOp*> result;
    for (const PageOp& op : m_ops) {
        if (op.kind == kind && (includePaper || !op.paper))
            result.push_back(&op);
    }
    return result;
}

QStringList PageRecording::texts() const
{
    QStringList result;
    for (const PageOp& op : m_ops) {
        if (op.kind == PageOp::Kind::Text || op.kind == PageOp::Kind::VerticalText)
            result << op.text;
    }
    return result;
}

namespace {

void drawOne(QPainter* p, const PageOp& op)
{
    switch (op.kind) {
    case PageOp::Kind::FillRect:
        p->fillRect(op.rect, op.brush);
        break;
    case PageOp::Kind::Ellipse:
        p->setPen(op.pen);
        p->setBrush(op.brush);
        p->drawEllipse(op.rect);
        break;
    case PageOp::Kind::Line:
        if (op.points.size() >= 2) {
            p->setPen(op.pen);
            p->drawLine(op.points[0], op.points[1]);
        }
        break;
    case PageOp::Kind::Polyline:
        p->setPen(op.pen);
        p->setBrush(Qt::NoBrush);
        p->drawPolyline(op.points);
        break;
    case PageOp::Kind::Text:
        p->setFont(op.qfont);
        p->setPen(op.font.color);
        if (op.angle == 0 && op.widthScale == 1) {
            p->drawText(QPointF(op.origin.x(), op.origin.y() + op.ascent), op.text);
        } else {
            const QTransform saved = p->transform();
            p->translate(op.origin);
            p->rotate(-op.angle); // counter-clockwise on paper, y grows downwards
            p->scale(op.widthScale, 1);
            p->drawText(QPointF(0, op.ascent), op.text);
            p->setTransform(saved);
        }
        break;
    case PageOp::Kind::VerticalText:
        if (op.vertical) {
            p->setPen(op.font.color);
            op.vertical->draw(p, op.origin.x(), op.origin.y());
        }
        break;
    case PageOp::Kind::Image:
        if (!op.image.isNull())
            p->drawImage(op.rect, op.image);
        break;
    case PageOp::Kind::Svg:
        if (op.svg)
            op.svg->render(p, op.rect);
        break;
    }
}

} // namespace

void PageRecording::replay(QPainter* painter) const
{
    if (!painter || !painter->isActive())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter->setBackgroundMode(Qt::TransparentMode);

    // Consecutive operations under the printable clip share one clip state.
    bool inPrintableClip = false;
    for (const PageOp& op : m_ops) {
        const bool wantClip = op.clipToPrintable && m_printableClip.isValid();
        if (wantClip != inPrintableClip) {
            if (inPrintableClip)
                painter->restore();
            if (wantClip) {
                painter->save();
                painter->setClipRect(m_printableClip, Qt::IntersectClip);
            }
            inPrintableClip = wantClip;
        }
        if (op.clip.isValid()) {
            painter->save();
            painter->setClipRect(op.clip, Qt::IntersectClip);
            drawOne(painter, op);
            painter->restore();
        } else {
            drawOne(painter, op);
        }
    }
    if (inPrintableClip)
        painter->restore();
    painter->restore();
}

QTransform PageRecording::frameToTarget(const QRectF& target) const
{
    if (m_width <= 0 || m_height <= 0)
        return QTransform();
    return QTransform::fromTranslate(target.left(), target.top())
        .scale(target.width() / m_width, target.height() / m_height);
}

void PageRecording::replay(QPainter* painter, const QRectF& target) const
{
    if (!painter || !painter->isActive() || m_width <= 0 || m_height <= 0)
        return;
    painter->save();
    painter->setTransform(frameToTarget(target), true);
    replay(painter);
    painter->restore();
}

QImage PageRecording::toImage(int pixelWidth, const QColor& background) const
{
    if (m_width <= 0 || m_height <= 0 || pixelWidth <= 0)
        return QImage();
    const int pixelHeight = qMax(1, qRound(qreal(pixelWidth) * m_height / m_width));
    QImage image(pixelWidth, pixelHeight, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(background);
    QPainter painter(&image);
    replay(&painter, QRectF(0, 0, pixelWidth, pixelHeight));
    painter.end();
    return image;
}
