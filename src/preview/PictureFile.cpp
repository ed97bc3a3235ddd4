#include "preview/PictureFile.h"

#include "preview/EmfConverter.h"
#include "preview/JpegDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSvgRenderer>
#include <QtEndian>

namespace {

QString reasonMissing() { return QStringLiteral("ファイルが見つかりません"); }
QString reasonUnreadable() { return QStringLiteral("ファイルを読み込めません"); }
QString reasonDamaged() { return QStringLiteral("画像データが壊れています"); }
QString reasonUnknown() { return QStringLiteral("対応していない形式か、画像ファイルではありません"); }
QString reasonTooLarge() { return QStringLiteral("画像が大きすぎます"); }
QString reasonNoConverter() { return QStringLiteral("EMF変換プログラム tovalin-emf2svg が見つかりません"); }

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

// A Windows bitmap whose pixel data ends early would load with its missing rows made up;
// the header says how much there must be.
bool bitmapComplete(const QByteArray& d)
{
    if (d.size() < 26 || d[0] != 'B' || d[1] != 'M')
        return true; // not a bitmap: not this check's business
    const quint32 declaredSize = le32(d, 2);
    const quint32 offBits = le32(d, 10);
    const quint32 headerSize = le32(d, 14);
    const quint32 total = quint32(d.size());
    if (declaredSize > total || offBits > total || 14 + qint64(headerSize) > total)
        return false;
    if (headerSize < 40 || d.size() < 54)
        return true; // an old OS/2 header: the loader's own checks apply
    const qint64 width = qint32(le32(d, 18));
    const qint64 height = qAbs(qint64(qint32(le32(d, 22))));
    const int bitCount = qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(d.constData()) + 28);
    const quint32 compression = le32(d, 30);
    const quint32 sizeImage = le32(d, 34);
    qint64 needed = 0;
    if (compression == 0 || compression == 3) { // BI_RGB, BI_BITFIELDS
        needed = ((width * bitCount + 31) / 32) * 4 * height;
    } else {
        needed = sizeImage;
    }
    return qint64(offBits) + needed <= qint64(total);
}

// The pixels a Windows bitmap's header claims (0 when the data is no bitmap): the size is
// checked before anything else, so that a huge claim is "too large" and not merely damaged.
qint64 bitmapPixels(const QByteArray& d)
{
    if (d.size() < 26 || d[0] != 'B' || d[1] != 'M')
        return 0;
    const quint32 headerSize = le32(d, 14);
    if (headerSize == 12) { // OS/2 core header: 16-bit sizes
        const auto* p = reinterpret_cast<const uchar*>(d.constData());
        return qint64(qFromLittleEndian<quint16>(p + 18)) * qFromLittleEndian<quint16>(p + 20);
    }
    return qAbs(qint64(qint32(le32(d, 18)))) * qAbs(qint64(qint32(le32(d, 22))));
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

namespace {

// Characters up to and including the first 0 character from byte `at`, or -1 when the file
// ends first.
qint64 utf16Run(const QByteArray& data, quint64 at)
{
    const quint64 size = quint64(data.size());
    for (quint64 i = at; i + 1 < size; i += 2) {
        if (data[qsizetype(i)] == 0 && data[qsizetype(i + 1)] == 0)
            return qint64((i - at) / 2 + 1);
    }
    return -1;
}

// The header's UTF-16 description: when its offset is not 0, libemf2svg reads two strings
// there without checking them against the file (a heap over-read, found by fuzzing it): the
// count of characters at the offset, then as many after the first 0 character (with no count,
// each string up to its 0 character). A description that runs past the file is damage.
bool emfDescriptionInside(const QByteArray& data)
{
    const quint64 count = le32(data, 60);
    const quint64 offset = le32(data, 64);
    const quint64 size = quint64(data.size());
    if (offset == 0)
        return true;
    if (offset >= size)
        return false;
    const qint64 first = utf16Run(data, offset);
    if (first < 0)
        return false;
    const quint64 second = offset + 2 * quint64(first);
    if (count > 0)
        return offset + 2 * count <= size && second + 2 * count <= size;
    return second < size && utf16Run(data, second) >= 0;
}

} // namespace

bool PictureFile::isIntactEmf(const QByteArray& data)
{
    if (!looksLikeEmf(data))
        return false;
    const quint32 headerSize = le32(data, 4);
    const quint32 declaredBytes = le32(data, 48);
    return headerSize >= 88 && headerSize <= quint32(data.size()) && declaredBytes <= quint32(data.size())
        && emfRecordsIntact(data) && emfDescriptionInside(data);
}

QSizeF PictureFile::naturalSize() const
{
    if (!m_image.isNull())
        return m_image.size();
    if (m_svg)
        return m_svg->viewBoxF().size();
    return QSizeF();
}

QSize PictureFile::layoutSize() const
{
    if (!m_image.isNull())
        return m_image.size();
    if (m_svg) {
        const QSizeF natural = naturalSize();
        return QSize(qMax(1, qRound(natural.width())), qMax(1, qRound(natural.height())));
    }
    return QSize();
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

    if (looksLikeEmf(data)) {
        if (!isIntactEmf(data)) {
            pic.m_error = reasonDamaged();
            return pic;
        }
        const EmfConversion converted = EmfConverter::convert(data);
        if (converted.status == EmfConversion::NoHelper) {
            pic.m_error = reasonNoConverter();
            return pic;
        }
        if (converted.status != EmfConversion::Converted) {
            pic.m_error = reasonDamaged();
            return pic;
        }
        auto renderer = std::make_shared<QSvgRenderer>(converted.svg);
        if (!renderer->isValid()) {
            pic.m_error = reasonDamaged();
            return pic;
        }
        renderer->setAspectRatioMode(Qt::IgnoreAspectRatio);
        pic.m_kind = Kind::Metafile;
        pic.m_svg = std::move(renderer);
        return pic;
    }

    // JPEG data goes to libjpeg whatever the file is called (a ".JPG" always does), so a
    // file that ends early is caught the same way under every name.
    if (isJpegData(data)) {
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
    // The size first: a bitmap that claims a huge picture is too large, not merely short.
    const QSize size = reader.size();
    if ((size.isValid() && qint64(size.width()) * size.height() > JpegDecoder::MaxPixels)
        || bitmapPixels(data) > JpegDecoder::MaxPixels) {
        pic.m_error = reasonTooLarge();
        return pic;
    }
    if (!bitmapComplete(data)) {
        pic.m_error = reasonDamaged();
        return pic;
    }
    QImage img;
    if (!reader.read(&img))
        img = QImage();
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
    } else {
        pic.m_kind = Kind::Other;
        pic.m_image = img;
    }
    return pic;
}
