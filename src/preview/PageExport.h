#pragma once
// A recorded page as files other programs take: SVG (vector, sized in millimetres) and a
// bitmap at a chosen resolution. Used for copying the previewed page to the clipboard.

#include <QByteArray>
#include <QImage>
#include <QString>

class PageRecording;

class PageExport {
public:
    // Resolution of the bitmap copy: small text of a postcard stays readable.
    static constexpr int BitmapDpi = 300;

    // The page as an SVG document whose size is the page frame in millimetres and whose
    // user units are 0.1 mm. Empty for a page without a frame.
    static QByteArray toSvg(const PageRecording& page, const QString& title = QString());
    // The page drawn on white at dpi. Null for a page without a frame or when the image
    // cannot be allocated.
    static QImage toImage(const PageRecording& page, int dpi = BitmapDpi);
    // PNG bytes of an image; empty when it cannot be encoded.
    static QByteArray toPng(const QImage& image);
};
