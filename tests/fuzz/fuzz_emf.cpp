// The EMF converter of the helper process, in-process, so that the fuzzer can run it fast and
// catalogue what the converter library does with hostile files (run it with -fork and
// -ignore_crashes: its crashes are the library's, contained in the programs by the helper
// process). The SVG it gives is then read and drawn by Qt SVG, as PictureFile and the page
// replay do with the helper's output.

#include "FuzzSupport.h"

#include "emfhelper/EmfToSvg.h"
#include "preview/PictureFile.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    // PictureFile hands the helper only files that look like EMF with intact records.
    const QByteArray emf(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!PictureFile::isIntactEmf(emf))
        return 0;
    std::string svg;
    if (!EmfToSvg::convert(emf.constData(), size_t(emf.size()), &svg))
        return 0;
    QSvgRenderer renderer(QByteArray::fromStdString(svg));
    if (!renderer.isValid())
        return 0;
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, 40, 40));
    return 0;
}
