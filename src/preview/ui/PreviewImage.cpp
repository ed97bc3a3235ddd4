#include "preview/ui/PreviewImage.h"

#include <QMouseEvent>
#include <QPainter>

PreviewImage::PreviewImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PreviewImage::setPage(const PageRecording& page)
{
    // PageRecording shares its operations, so the copy is cheap and stays intact while the
    // engine records the next page (for printing, say).
    m_page = page;
    m_hasPage = true;
    m_cache = QPixmap();
    update();
}

void PreviewImage::clearPage()
{
    m_page = PageRecording();
    m_hasPage = false;
    m_cache = QPixmap();
    update();
}

void PreviewImage::resizeEvent(QResizeEvent* event)
{
    m_cache = QPixmap();
    QWidget::resizeEvent(event);
}

void PreviewImage::paintEvent(QPaintEvent*)
{
    if (!m_hasPage || width() <= 0 || height() <= 0)
        return;
    const qreal dpr = devicePixelRatioF();
    const QSize devSize(qRound(width() * dpr), qRound(height() * dpr));
    QPainter painter(this);
    if (qint64(devSize.width()) * devSize.height() <= CacheLimitPixels) {
        if (m_cache.isNull() || m_cache.size() != devSize) {
            m_cache = QPixmap(devSize);
            m_cache.setDevicePixelRatio(dpr);
            m_cache.fill(Qt::white);
            QPainter cachePainter(&m_cache);
            m_page.replay(&cachePainter, QRectF(0, 0, width(), height()));
        }
        painter.drawPixmap(0, 0, m_cache);
        return;
    }
    // Too big to keep: replay; the painter is clipped to the exposed region.
    painter.fillRect(rect(), Qt::white);
    m_page.replay(&painter, QRectF(0, 0, width(), height()));
}

void PreviewImage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        emit rightButtonPressed(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    // The left button does nothing.
    QWidget::mousePressEvent(event);
}
