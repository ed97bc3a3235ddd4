#include "preview/ui/PreviewShape.h"

#include <QPainter>

PreviewShape::PreviewShape(const QColor& fill, const QColor& outline, QWidget* parent)
    : QWidget(parent), m_fill(fill), m_outline(outline)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PreviewShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_fill.isValid())
        painter.fillRect(rect(), m_fill);
    if (m_outline.isValid() && width() > 0 && height() > 0) {
        // A one-pixel outline on the outermost pixels of the rectangle.
        QPen pen(m_outline);
        pen.setWidth(0);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, width() - 1, height() - 1);
    }
}
