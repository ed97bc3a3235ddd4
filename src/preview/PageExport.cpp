#include "preview/PageExport.h"

#include "preview/PageRecording.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <cmath>

QByteArray PageExport::toSvg(const PageRecording& page, const QString& title)
{
    if (page.width() <= 0 || page.height() <= 0)
        return QByteArray();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    // 254 units per inch: one unit is 0.1 mm, so the document's size is the sheet's.
    generator.setResolution(254);
    generator.setSize(QSize(page.width(), page.height()));
    generator.setViewBox(QRect(0, 0, page.width(), page.height()));
    generator.setTitle(title);
    QPainter painter;
    if (!painter.begin(&generator))
        return QByteArray();
    // A page without painted paper (a printed page) still gets a white sheet.
    painter.fillRect(QRectF(0, 0, page.width(), page.height()), Qt::white);
    page.replay(&painter);
    painter.end();
    return bytes;
}

QImage PageExport::toImage(const PageRecording& page, int dpi)
{
    if (page.width() <= 0 || page.height() <= 0 || dpi <= 0)
        return QImage();
    const int width = int(std::lround(page.width() * dpi / 254.0));
    QImage image = page.toImage(qMax(1, width), Qt::white);
    if (image.isNull())
        return image;
    // Dots per metre, so programs that read it print the page at its real size.
    const int dpm = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    return image;
}

QByteArray PageExport::toPng(const QImage& image)
{
    if (image.isNull())
        return QByteArray();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return QByteArray();
    return bytes;
}
