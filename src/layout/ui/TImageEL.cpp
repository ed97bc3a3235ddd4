#include "layout/ui/TImageEL.h"

#include <QPainter>

TImageEL::TImageEL(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void TImageEL::setPicture(const QImage& image)
{
    image_ = image;
    vector_ = nullptr;
    natural_ = image.size();
    update();
}

void TImageEL::setPicture(Painter painter, QSize naturalSize)
{
    image_ = QImage();
    vector_ = std::move(painter);
    natural_ = vector_ ? naturalSize : QSize();
    update();
}

void TImageEL::clear()
{
    image_ = QImage();
    vector_ = nullptr;
    natural_ = QSize();
    update();
}

bool TImageEL::hasPicture() const
{
    return !image_.isNull() || bool(vector_);
}

void TImageEL::setStretch(bool value)
{
    if (stretch_ == value)
        return;
    stretch_ = value;
    update();
}

void TImageEL::autoSize()
{
    if (natural_.isValid())
        resize(natural_);
}

void TImageEL::paintEvent(QPaintEvent*)
{
    if (!hasPicture())
        return;
    QPainter painter(this);
    const QRectF target = stretch_ ? QRectF(rect()) : QRectF(QPointF(0, 0), QSizeF(natural_));
    if (!image_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, stretch_);
        painter.drawImage(target, image_);
    } else {
        painter.setClipRect(rect());
        vector_(painter, target);
    }
}

void TImageEL::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    emit OnMouseEnter(this);
}

void TImageEL::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit OnMouseLeave(this);
}
