// Stamp pictures as they come from the web and from other programs: the colour models and row
// orders that must load with the right colours, damaged data and oversized pictures that must
// be refused with a reason, and an EMF converter that crashes, hangs or is missing, which must
// cost the picture and never the program.

#include "PreviewTestSupport.h"

#include "preview/EmfConverter.h"
#include "preview/PageCanvas.h"
#include "preview/PictureFile.h"
#include "preview/TplPrev.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

using namespace previewtest;

namespace {

constexpr QRgb kRed = 0xFFE01010;
constexpr QRgb kBlue = 0xFF1020D0;

// A 16 x 16 JPEG whose left half is red and right half blue, written by libjpeg in a
// four-channel colour model. Adobe's programs store CMYK and YCCK inverted and say so in
// their APP14 marker (libjpeg writes that marker for these models); `inverted` stores the
// ink values that way.
QByteArray fourChannelJpeg(J_COLOR_SPACE model, bool inverted, bool adobeMarker)
{
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = 16;
    c.image_height = 16;
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_colorspace(&c, model);
    c.write_Adobe_marker = adobeMarker;
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(16 * 4);
    for (int x = 0; x < 16; ++x) {
        const QColor rgb(x < 8 ? kRed : kBlue);
        // CMY from RGB with black taken out.
        const int k = 255 - std::max({ rgb.red(), rgb.green(), rgb.blue() });
        auto ink = [k](int v) { return k == 255 ? 0 : (255 - v - k) * 255 / (255 - k); };
        const int values[4] = { ink(rgb.red()), ink(rgb.green()), ink(rgb.blue()), k };
        for (int i = 0; i < 4; ++i)
            row[size_t(x * 4 + i)] = static_cast<unsigned char>(inverted ? 255 - values[i] : values[i]);
    }
    while (c.next_scanline < c.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    jpeg_destroy_compress(&c);
    std::free(out);
    return bytes;
}

QByteArray le16(int v)
{
    QByteArray b(2, '\0');
    qToLittleEndian<quint16>(quint16(v), b.data());
    return b;
}

QByteArray le32(qint64 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<quint32>(quint32(v), b.data());
    return b;
}

// A Windows bitmap: file header, BITMAPINFOHEADER (or a V4 header for bit fields), the
// colour table or masks, and the pixel data as given.
QByteArray bitmap(int width, int height, int bits, int compression, const QByteArray& table, const QByteArray& pixels)
{
    const QByteArray info = le32(40) + le32(width) + le32(height) + le16(1) + le16(bits) + le32(compression)
        + le32(pixels.size()) + le32(2835) + le32(2835) + le32(table.size() / 4 * (compression == 3 ? 0 : 1))
        + le32(0);
    const int offset = 14 + 40 + int(table.size());
    return QByteArray("BM") + le32(offset + pixels.size()) + le32(0) + le32(offset) + info + table + pixels;
}

QByteArray bgr0(QRgb c)
{
    return QByteArray(1, char(qBlue(c))) + char(qGreen(c)) + char(qRed(c)) + '\0';
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

std::string rgb(QRgb c)
{
    char s[16];
    std::snprintf(s, sizeof s, "#%02x%02x%02x", qRed(c), qGreen(c), qBlue(c));
    return s;
}

// A helper program that stands in for tovalin-emf2svg.
QString fakeHelper(const QTemporaryDir& dir, const char* name, const QByteArray& script)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write("#!/bin/sh\n" + script + "\n") < 0)
        return QString();
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return path;
}

class HelperOverride {
public:
    explicit HelperOverride(const QString& path, int timeoutMs = EmfConverter::timeoutMilliseconds())
        : m_path(EmfConverter::helperPath()), m_timeout(EmfConverter::timeoutMilliseconds())
    {
        EmfConverter::setHelperPath(path);
        EmfConverter::setTimeoutMilliseconds(timeoutMs);
    }
    ~HelperOverride()
    {
        EmfConverter::setHelperPath(m_path);
        EmfConverter::setTimeoutMilliseconds(m_timeout);
    }

private:
    QString m_path;
    int m_timeout;
};

QByteArray smallEmf()
{
    QFile f(QStringLiteral(TOVALIN_SOURCE_DIR "/tests/fuzz/corpus/emf/rectangle.emf"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(HostilePictures, ColourModelsAndRowOrdersLoadWithTheirColours)
{
    QTemporaryDir dir;
    // 2 x 2 pictures: top row red, blue; bottom row blue, red (as the picture is seen).
    const QByteArray rows24 = QByteArray(bgr0(kBlue).left(3) + bgr0(kRed).left(3) + QByteArray(2, '\0')) // bottom row
        + bgr0(kRed).left(3) + bgr0(kBlue).left(3) + QByteArray(2, '\0');
    const QByteArray topDown24 = rows24.mid(8, 8) + rows24.left(8);
    const QByteArray palette = bgr0(kRed) + bgr0(kBlue);
    // RLE8: each row "1 pixel of colour a, 1 of colour b, end of line"; end of bitmap.
    const QByteArray rle8 = QByteArray::fromHex("0101 0100 0000") + QByteArray::fromHex("0100 0101 0001");
    const QByteArray rle4 = QByteArray::fromHex("0210 0000") + QByteArray::fromHex("0201 0001");
    // 16 bits per pixel with 5-6-5 masks.
    auto px565 = [](QRgb c) { return le16((qRed(c) >> 3) << 11 | (qGreen(c) >> 2) << 5 | qBlue(c) >> 3); };
    const QByteArray masks = le32(0xF800) + le32(0x07E0) + le32(0x001F);
    const QByteArray rows565 = px565(kBlue) + px565(kRed) + px565(kRed) + px565(kBlue);

    struct Case {
        const char* name;
        QByteArray bytes;
        int tolerance;
    } cases[] = {
        { "bitmap 24 bits, bottom-up", bitmap(2, 2, 24, 0, QByteArray(), rows24), 0 },
        { "bitmap 24 bits, top-down", bitmap(2, -2, 24, 0, QByteArray(), topDown24), 0 },
        { "bitmap RLE8", bitmap(2, 2, 8, 1, palette, rle8), 0 },
        { "bitmap RLE4", bitmap(2, 2, 4, 2, palette, rle4), 0 },
        { "bitmap with bit fields", bitmap(2, 2, 16, 3, masks, rows565), 8 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QStringLiteral("stamp.bmp"));
        ASSERT_TRUE(write(path, c.bytes));
        const PictureFile pic = PictureFile::load(path);
        ASSERT_FALSE(pic.isNull()) << pic.errorString().toStdString();
        const QImage& img = pic.image();
        ASSERT_EQ(img.size(), QSize(2, 2));
        EXPECT_TRUE(near(img.pixel(0, 0), kRed, c.tolerance)) << rgb(img.pixel(0, 0));
        EXPECT_TRUE(near(img.pixel(1, 0), kBlue, c.tolerance)) << rgb(img.pixel(1, 0));
        EXPECT_TRUE(near(img.pixel(0, 1), kBlue, c.tolerance)) << rgb(img.pixel(0, 1));
        EXPECT_TRUE(near(img.pixel(1, 1), kRed, c.tolerance)) << rgb(img.pixel(1, 1));
    }

    const struct {
        const char* name;
        QByteArray bytes;
    } jpegs[] = {
        { "CMYK, Adobe (inverted)", fourChannelJpeg(JCS_CMYK, true, true) },
        { "YCCK, Adobe (inverted)", fourChannelJpeg(JCS_YCCK, true, true) },
        { "CMYK without Adobe marker", fourChannelJpeg(JCS_CMYK, false, false) },
    };
    for (const auto& j : jpegs) {
        SCOPED_TRACE(j.name);
        const QString path = dir.filePath(QStringLiteral("stamp.jpg"));
        ASSERT_TRUE(write(path, j.bytes));
        const PictureFile pic = PictureFile::load(path);
        ASSERT_FALSE(pic.isNull()) << pic.errorString().toStdString();
        EXPECT_EQ(pic.kind(), PictureFile::Kind::Jpeg);
        EXPECT_TRUE(near(pic.image().pixel(2, 8), kRed, 24)) << rgb(pic.image().pixel(2, 8));
        EXPECT_TRUE(near(pic.image().pixel(13, 8), kBlue, 24)) << rgb(pic.image().pixel(13, 8));
    }
}

TEST(HostilePictures, DamagedAndOversizedPicturesAreRefusedWithTheirReason)
{
    QTemporaryDir dir;
    const QString damaged = QStringLiteral("画像データが壊れています");
    const QString tooLarge = QStringLiteral("画像が大きすぎます");

    // A JPEG whose entropy-coded data holds a restart marker where none belongs: the file is
    // whole, but libjpeg would fill what it loses with grey.
    QImage photo(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            photo.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) & 0xFF));
    QByteArray jpeg;
    {
        QBuffer b(&jpeg);
        b.open(QIODevice::WriteOnly);
        ASSERT_TRUE(photo.save(&b, "JPEG", 90));
    }
    const qsizetype sos = jpeg.indexOf("\xFF\xDA");
    ASSERT_GT(sos, 0);
    const qsizetype entropy = sos + 2 + (uchar(jpeg[sos + 2]) << 8 | uchar(jpeg[sos + 3]));
    QByteArray strayMarker = jpeg;
    strayMarker.replace((entropy + jpeg.size()) / 2, 2, "\xFF\xD3");
    QByteArray badCodes = jpeg;
    for (qsizetype i = entropy + 4; i < jpeg.size() - 4; i += 5)
        badCodes[i] = char(uchar(badCodes[i]) == 0xFE ? 0x11 : 0xFE);

    // A JPEG frame header that claims 30000 x 30000 pixels.
    QByteArray hugeJpeg = jpeg;
    const qsizetype sof = hugeJpeg.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    hugeJpeg[sof + 5] = char(30000 >> 8);
    hugeJpeg[sof + 6] = char(30000 & 0xFF);
    hugeJpeg[sof + 7] = char(30000 >> 8);
    hugeJpeg[sof + 8] = char(30000 & 0xFF);
    // A bitmap header that claims 20000 x 20000 pixels, with four bytes of pixels.
    const QByteArray hugeBitmap = bitmap(20000, 20000, 24, 0, QByteArray(), QByteArray(4, '\0'));

    const struct {
        const char* name;
        QString file;
        QByteArray bytes;
        QString reason;
    } cases[] = {
        { "JPEG with a stray marker in its data", QStringLiteral("stray.jpg"), strayMarker, damaged },
        { "JPEG with bad codes in its data", QStringLiteral("codes.JPG"), badCodes, damaged },
        { "JPEG over the pixel limit", QStringLiteral("huge.jpg"), hugeJpeg, tooLarge },
        { "bitmap over the pixel limit", QStringLiteral("huge.bmp"), hugeBitmap, tooLarge },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(c.file);
        ASSERT_TRUE(write(path, c.bytes));
        const PictureFile pic = PictureFile::load(path);
        EXPECT_TRUE(pic.isNull());
        EXPECT_EQ(pic.errorString(), c.reason);
    }

    // A file over the size limit is refused before it is read (a sparse file costs no disk).
    const QString big = dir.filePath(QStringLiteral("big.bmp"));
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.write(bitmap(2, 2, 24, 0, QByteArray(), QByteArray(16, '\0'))) > 0);
        ASSERT_TRUE(f.resize(PictureFile::MaxFileSize + 1));
    }
    EXPECT_EQ(PictureFile::load(big).errorString(), tooLarge);

    // The undamaged JPEG itself loads: the refusals above come from the damage.
    ASSERT_TRUE(write(dir.filePath(QStringLiteral("whole.jpg")), jpeg));
    EXPECT_FALSE(PictureFile::load(dir.filePath(QStringLiteral("whole.jpg"))).isNull());
}

TEST(HostilePictures, AConverterThatCrashesHangsOrIsMissingCostsOnlyThePicture)
{
    QTemporaryDir dir;
    const QString emf = dir.filePath(QStringLiteral("stamp.emf"));
    ASSERT_TRUE(write(emf, smallEmf()));
    ASSERT_FALSE(PictureFile::load(emf).isNull()) << "the real helper converts the file";

    const QString damaged = QStringLiteral("画像データが壊れています");
    const struct {
        const char* name;
        QString helper;
        QString reason;
    } cases[] = {
        { "helper killed by a signal", fakeHelper(dir, "crash.sh", "cat >/dev/null; kill -SEGV $$"), damaged },
        { "helper ending with a sanitizer's status", fakeHelper(dir, "asan.sh", "cat >/dev/null; exit 86"), damaged },
        { "helper that refuses", fakeHelper(dir, "refuse.sh", "cat >/dev/null; exit 1"), damaged },
        { "helper that writes no SVG", fakeHelper(dir, "garbage.sh", "cat >/dev/null; echo not svg"), damaged },
        { "helper that never ends", fakeHelper(dir, "hang.sh", "exec sleep 60"), damaged },
        { "helper missing", dir.filePath(QStringLiteral("no-such-helper")),
          QStringLiteral("EMF変換プログラム tovalin-emf2svg が見つかりません") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HelperOverride helper(c.helper, 1500);
        QElapsedTimer clock;
        clock.start();
        const PictureFile pic = PictureFile::load(emf);
        EXPECT_LT(clock.elapsed(), 10000);
        EXPECT_TRUE(pic.isNull());
        EXPECT_EQ(pic.errorString(), c.reason);
    }

    // Through the engine: every page is drawn without the picture and the user is told once.
    HelperOverride crashing(fakeHelper(dir, "crash2.sh", "kill -SEGV $$"));
    MessageLog log;
    TplPrev engine;
    engine.setFileSheet(1000, 1480);
    engine.setPageCount(3);
    ASSERT_TRUE(engine.BeginPreview([&engine, &emf] {
        engine.DrawImage(100, 300, 100, 300, 1, emf);
        engine.TextOut(100, 400, QStringLiteral("宛名"));
    }));
    for (int page = 1; page <= 3; ++page) {
        engine.setCurrentPage(page);
        const PageRecording* rec = engine.RenderPage();
        ASSERT_NE(rec, nullptr);
        EXPECT_TRUE(rec->ofKind(PageOp::Kind::Svg).isEmpty());
        EXPECT_EQ(rec->texts(), QStringList { QStringLiteral("宛名") });
    }
    ASSERT_EQ(log.entries.size(), 1) << log.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(log.entries[0].text.contains(emf));
    EXPECT_TRUE(log.entries[0].text.contains(damaged));
}

// Found by fuzzing the converter library: libemf2svg reads the header's description (two
// strings at its offset) past the end of the file if need be. Such a file is refused as damaged
// before the converter sees it.
TEST(HostilePictures, AnEmfDescriptionThatRunsPastTheFileIsDamage)
{
    const QByteArray whole = smallEmf();
    ASSERT_GT(whole.size(), 100);
    const auto withDescription = [&whole](quint32 count, quint32 offset) {
        QByteArray d = whole;
        for (int i = 0; i < 4; ++i) {
            d[60 + i] = char((count >> (8 * i)) & 0xFF);
            d[64 + i] = char((offset >> (8 * i)) & 0xFF);
        }
        return d;
    };
    const quint32 size = quint32(whole.size());
    const struct {
        const char* name;
        QByteArray bytes;
        bool intact;
    } cases[] = {
        { "no description", whole, true },
        { "offset 0, whatever the count", withDescription(5, 0), true },
        { "three characters and two strings inside the file", withDescription(3, 88), true },
        { "no count, two strings inside the file", withDescription(0, 88), true },
        { "second string starting at the end", withDescription(2, size - 4), false },
        { "count running past the end", withDescription(3, size - 4), false },
        { "huge count", withDescription(0x7FFFFFFF, 88), false },
        { "no count, second string without its 0 character", withDescription(0, size - 4), false },
        { "no count, offset at the last byte", withDescription(0, size - 1), false },
        { "no count, offset at the end", withDescription(0, size), false },
        { "offset far beyond the file", withDescription(1, 0xFFFFFFF0u), false },
        { "as fuzzing found it: offset at the end", QByteArray::fromHex(
        "0100000058000000000000000000000064000000640000000000000000000000ec090000ec09000020454d4600000100"
        "a0000000040000000100000000000000a00000000000000064000000640000001900000019000000250000000c000000"
        "04000080560000002800000000000000000000006400000064000000030000000a000a005a00140032005a000e000000"
        "14000000000000001000000014000000"), false },
        { "as fuzzing found it: second string past the end", QByteArray::fromHex(
        "0100000058000000000000000000640000000000640000000000000000000000ec090000ec09000020454d4600002600"
        "00000000040000007a000000000000006400000064ffff00030000000a000a005a00140032005a000e00000014000000"
        "000000e8e8e8e8e8e8e8e8e846000000e8e8e80064"), false },
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PictureFile::isIntactEmf(c.bytes), c.intact);
        if (c.intact)
            continue; // what the converter then makes of the text is its own affair
        const QString path = dir.filePath(QStringLiteral("stamp.emf"));
        ASSERT_TRUE(write(path, c.bytes));
        const PictureFile pic = PictureFile::load(path);
        EXPECT_TRUE(pic.isNull());
        EXPECT_EQ(pic.errorString(), QStringLiteral("画像データが壊れています"));
    }
}
