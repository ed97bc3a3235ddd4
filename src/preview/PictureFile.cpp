#include "preview/PictureFile.h"

#include "preview/JpegDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdlib>

extern "C" {
#include <emf2svg.h>
}

namespace {

QString reasonMissing() { return QStringLiteral("ファイルが見つかりません"); }
QString reasonUnreadable() { return QStringLiteral("ファイルを読み込めません"); }
QString reasonDamaged() { return QStringLiteral("画像データが壊れています"); }
QString reasonUnknown() { return QStringLiteral("対応していない形式か、画像ファイルではありません"); }
QString reasonTooLarge() { return QStringLiteral("画像が大きすぎます"); }

quint32 le32(const QByteArray& d, int at)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(d.constData()) + at);
}

// Walks the records of an enhanced metafile: every record inside the data, sizes a
// multiple of four, ending with EMR_EOF. The converter is only handed data that passes.
bool emfRecordsIntact(const QByteArray& data)
{
    const qint64 total = data.size();
    qint64 at = 0;
    while (at + 8 <= total) {
        const quint32 type = le32(data, int(at));
        const quint32 size = le32(data, int(at + 4));
        if (size < 8 || size % 4 != 0 || at + size > total)
            return false;
        if (type == 14) // EMR_EOF
            return true;
        at += size;
    }
    return false;
}

bool isJpegData(const QByteArray& d)
{
    return d.size() >= 3 && uchar(d[0]) == 0xFF && uchar(d[1]) == 0xD8 && uchar(d[2]) == 0xFF;
}

} // namespace

bool PictureFile::looksLikeEmf(const QByteArray& data)
{
    return data.size() >= 88 && le32(data, 0) == 1 && le32(data, 40) == 0x464D4520u;
}

QSizeF PictureFile::naturalSize() const
{
    if (!m_image.isNull())
        return m_image.size();
    if (m_svg)
        return m_svg->viewBoxF().size();
    return QSizeF();
}

PictureFile PictureFile::load(const QString& fileName)
{
    PictureFile pic;
    pic.m_fileName = fileName;

    QFileInfo info(fileName);
    if (fileName.trimmed().isEmpty() || !info.exists() || !info.isFile()) {
        pic.m_error = reasonMissing();
        return pic;
    }
    if (info.size() > MaxFileSize) {
        pic.m_error = reasonTooLarge();
        return pic;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        pic.m_error = reasonUnreadable();
        return pic;
    }
    const QByteArray data = file.readAll();
    file.close();
    if (data.isEmpty()) {
        pic.m_error = reasonUnknown();
        return pic;
    }

    // ".JPG" goes to libjpeg; any other name goes to the general loader, which also knows
    // JPEG data under other names.
    if (info.suffix().toUpper() == QLatin1String("JPG") && isJpegData(data)) {
        QString why;
        QImage img = JpegDecoder::decode(data, &why);
        if (img.isNull()) {
            pic.m_error = why.contains(QLatin1String("too large")) ? reasonTooLarge() : reasonDamaged();
            return pic;
        }
        pic.m_kind = Kind::Jpeg;
        pic.m_image = img;
        return pic;
    }

    if (looksLikeEmf(data)) {
        const quint32 headerSize = le32(data, 4);
        const quint32 declaredBytes = le32(data, 48);
        if (headerSize < 88 || headerSize > quint32(data.size()) || declaredBytes > quint32(data.size())
            || !emfRecordsIntact(data)) {
            pic.m_error = reasonDamaged();
            return pic;
        }
        generatorOptions options {};
        options.nameSpace = const_cast<char*>("svg");
        options.verbose = false;
        options.emfplus = true;
        options.svgDelimiter = true;
        options.imgWidth = 0;
        options.imgHeight = 0;
        char* svgOut = nullptr;
        size_t svgLength = 0;
        QByteArray copy = data; // the converter takes a mutable buffer
        const int ok = emf2svg(copy.data(), size_t(copy.size()), &svgOut, &svgLength, &options);
        QByteArray svg;
        if (svgOut) {
            svg = QByteArray(svgOut, int(svgLength));
            std::free(svgOut);
        }
        if (!ok || svg.isEmpty()) {
            pic.m_error = reasonDamaged();
            return pic;
        }
        auto renderer = std::make_shared<QSvgRenderer>(svg);
        if (!renderer->isValid()) {
            pic.m_error = reasonDamaged();
            return pic;
        }
        renderer->setAspectRatioMode(Qt::IgnoreAspectRatio);
        pic.m_kind = Kind::Metafile;
        pic.m_svg = std::move(renderer);
        return pic;
    }

    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format().toLower();
    if (format.isEmpty() || format == "svg" || format == "svgz") {
        pic.m_error = reasonUnknown();
        return pic;
    }
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > JpegDecoder::MaxPixels) {
        pic.m_error = reasonTooLarge();
        return pic;
    }
    QImage img;
    if (format == "jpeg" || format == "jpg") {
        QString why;
        img = JpegDecoder::decode(data, &why);
    } else if (!reader.read(&img)) {
        img = QImage();
    }
    if (img.isNull()) {
        pic.m_error = reasonDamaged();
        return pic;
    }
    if (format == "bmp") {
        // A bitmap is copied onto the page as it is; its alpha bits are not a mask.
        pic.m_kind = Kind::Bitmap;
        pic.m_image = img.convertToFormat(QImage::Format_RGB32);
    } else if (format == "ico" || format == "cur") {
        pic.m_kind = Kind::Icon;
        pic.m_image = img;
    } else if (format == "jpeg" || format == "jpg") {
        pic.m_kind = Kind::Jpeg;
        pic.m_image = img;
    } else {
        pic.m_kind = Kind::Other;
        pic.m_image = img;
    }
    return pic;
}
